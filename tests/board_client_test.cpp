#include "app/board_api.h"
#include "app/board_tokens.h"
#include "app/data_set_circuit.h"
#include "app/lap_outbox.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string scratch(const char* name) {
  std::string path = std::string(::testing::TempDir()) + "stravo_board_client_" + name;
  std::string command = "rm -rf '" + path + "'";
  EXPECT_EQ(std::system(command.c_str()), 0);
  return path;
}

HttpReply answer(int status, const std::string& body) {
  HttpReply reply;
  reply.status = status;
  reply.body = body;
  return reply;
}

TEST(BoardApi, SubmissionAnswersKeepOrDropTheLap) {
  SubmitReply accepted = judgeSubmitReply(answer(201, R"({"lap":12,"rank":3,"best":true})"));
  EXPECT_EQ(accepted.outcome, SubmitOutcome::Accepted);
  EXPECT_EQ(accepted.lapId, 12);
  EXPECT_EQ(accepted.rank, 3);

  SubmitReply refused = judgeSubmitReply(answer(422, R"({"error":"not a clean lap: off the road at tick 9"})"));
  EXPECT_EQ(refused.outcome, SubmitOutcome::Refused);
  EXPECT_EQ(refused.why, "not a clean lap: off the road at tick 9");

  // No judgement of the lap: it stays in the outbox.
  for (const HttpReply& reply : {answer(0, ""), answer(429, "{}"), answer(401, R"({"error":"unknown token"})"),
                                 answer(503, "{}"), answer(500, "<html>"), answer(201, "\xff garbage"),
                                 answer(201, R"({"lap":"12","rank":3})"), answer(201, R"({"lap":12,"rank":0})"),
                                 answer(201, "[1,2]")})
    EXPECT_EQ(judgeSubmitReply(reply).outcome, SubmitOutcome::Retry) << reply.status << " " << reply.body;
}

TEST(BoardApi, ReasonsAreCutToPrintableText) {
  std::string reason = "\\n" + std::string(5000, 'x');  // a line break, escaped in the JSON text
  SubmitReply refused = judgeSubmitReply(answer(400, "{\"error\":\"" + reason + "\"}"));
  EXPECT_LE(refused.why.size(), 200u);
  EXPECT_EQ(refused.why[0], '?');
}

TEST(BoardApi, BoardPagesOfTheWrongShapeAreRefused) {
  BoardPage page;
  std::string why;
  ASSERT_TRUE(parseBoardPage(R"({"total":2,"laps":[{"rank":1,"lap":4,"player":"bob","time":77.62},
                                   {"rank":2,"lap":1,"player":"alice","time":80.18}]})",
                             page, why));
  ASSERT_EQ(page.entries.size(), 2u);
  EXPECT_EQ(page.entries[1].player, "alice");
  EXPECT_EQ(page.entries[0].lapId, 4);
  for (const char* body : {"", "null", "[]", R"({"laps":[]})", R"({"total":-1,"laps":[]})",
                           R"({"total":1,"laps":{}})", R"({"total":1,"laps":[{"rank":1,"lap":0,"player":"a","time":1}]})",
                           R"({"total":1,"laps":[{"rank":1,"lap":2,"player":7,"time":1}]})",
                           R"({"total":1,"laps":[{"rank":1,"lap":2,"player":"a","time":"1"}]})", R"({"total":1,"laps":[3]})"})
    EXPECT_FALSE(parseBoardPage(body, page, why)) << body;
}

TEST(BoardApi, OnlyHttpUrlsAreBoards) {
  std::string base, why;
  EXPECT_TRUE(parseBoardUrl("http://127.0.0.1:8080/", base, why));
  EXPECT_EQ(base, "http://127.0.0.1:8080");
  EXPECT_TRUE(parseBoardUrl("https://board.example", base, why));
  for (const char* url : {"", "ftp://x", "file:///etc/passwd", "http://", "http:///x", "gopher://a", "http://a b",
                          "127.0.0.1:8080"})
    EXPECT_FALSE(parseBoardUrl(url, base, why)) << url;
}

TEST(DataSetCircuit, StampsNameTheCircuit) {
  DataSetCircuit circuit;
  ASSERT_TRUE(parseDataSetStamp("5\n", circuit));
  EXPECT_EQ(circuit.circuit, "default");
  EXPECT_EQ(circuit.generator, 5);
  ASSERT_TRUE(parseDataSetStamp("5 seed 20261209\n", circuit));
  EXPECT_EQ(circuit.circuit, "seed-20261209");
  for (const char* stamp : {"", "x", "5 seed", "5 seed -1", "5 seed 4294967296", "5 seed 01", "5 pips 3", "05"})
    EXPECT_FALSE(parseDataSetStamp(stamp, circuit)) << stamp;
}

TEST(BoardTokens, KeptPerBoardAndNameReadableByThePlayerOnly) {
  std::string folder = scratch("tokens") + "/config/stravo";
  std::string why, token, name;
  EXPECT_FALSE(findToken(folder, "http://a", "alice", token));
  ASSERT_TRUE(keepToken(folder, "http://a", "alice", "t1", why)) << why;
  ASSERT_TRUE(keepToken(folder, "http://b", "alice", "t2", why)) << why;
  ASSERT_TRUE(keepToken(folder, "http://a", "alice", "t3", why)) << why;
  ASSERT_TRUE(findToken(folder, "http://a", "alice", token));
  EXPECT_EQ(token, "t3");
  ASSERT_TRUE(findToken(folder, "http://b", "alice", token));
  EXPECT_EQ(token, "t2");
  EXPECT_FALSE(findToken(folder, "http://a", "bob", token));
  ASSERT_TRUE(lastPlayerOf(folder, "http://a", name));
  EXPECT_EQ(name, "alice");
  struct stat info;
  ASSERT_EQ(stat((folder + "/tokens").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_FALSE(keepToken(folder, "http://a", "bad\tname", "t", why));
}

TEST(LapOutbox, ProofsWaitInOrderUntilTaken) {
  std::string folder = scratch("outbox");
  std::string path, why;
  EXPECT_TRUE(outboxEntries(folder).empty());
  ASSERT_TRUE(putInOutbox(folder, {1, 2, 3}, path, why)) << why;
  ASSERT_TRUE(putInOutbox(folder, {4}, path, why)) << why;
  std::FILE* stray = std::fopen((folder + "/notes.txt").c_str(), "w");
  ASSERT_NE(stray, nullptr);
  std::fclose(stray);
  std::vector<std::string> entries = outboxEntries(folder);
  ASSERT_EQ(entries.size(), 2u);
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(readOutboxEntry(entries[0], bytes, why));
  EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 2, 3}));
  takeFromOutbox(entries[0]);
  entries = outboxEntries(folder);
  ASSERT_EQ(entries.size(), 1u);
  ASSERT_TRUE(readOutboxEntry(entries[0], bytes, why));
  EXPECT_EQ(bytes, (std::vector<uint8_t>{4}));
  ASSERT_EQ(mkdir((folder + "/lap-0-folder.proof").c_str(), 0700), 0);
  EXPECT_FALSE(readOutboxEntry(folder + "/lap-0-folder.proof", bytes, why));
}

}  // namespace
