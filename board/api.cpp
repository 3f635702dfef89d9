#include "board/board_server.h"

#include "board/html.h"
#include "board/tokens.h"
#include "game/laps/sector_splits.h"
#include "game/time_display.h"
#include "tools/datagen/generator.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <chrono>

namespace {

using nlohmann::json;

// Board pages of the API hold at most this many rows.
constexpr int64_t kMaxBoardLimit = 200;
constexpr int64_t kDefaultBoardLimit = 50;
// Longest digits of a lap id in a path.
constexpr int kMaxIdDigits = 18;

void sendJson(httplib::Response& res, int status, const json& body) {
  res.status = status;
  res.set_content(body.dump(-1, ' ', false, json::error_handler_t::replace), "application/json");
}

void sendError(httplib::Response& res, int status, const std::string& message) {
  sendJson(res, status, json{{"error", message}});
}

// Whole number 0..max in a query parameter, `fallback` when absent.
bool queryNumber(const httplib::Request& req, const char* name, int64_t fallback, int64_t max, int64_t& out) {
  if (!req.has_param(name)) {
    out = fallback;
    return true;
  }
  std::string text = req.get_param_value(name);
  if (text.empty() || text.size() > 12 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  out = std::stoll(text);
  return out <= max;
}

json lapJson(const LapRecord& lap) {
  long hundredths[kSectorCount] = {0, 0, 0};
  json sectors = json::array();
  bool whole = sectorHundredths(lap.sectors, lap.lapTime, hundredths);
  for (int s = 0; s < kSectorCount; ++s) sectors.push_back(whole ? double(hundredths[s]) / 100.0 : double(lap.sectors[s]));
  return json{{"lap", lap.id},
              {"player", lap.playerName},
              {"circuit", lap.circuit},
              {"class", lap.lapClass},
              {"time", double(lap.lapTime)},
              {"time_text", lapTimeText(lap.lapTime)},
              {"ticks", lap.ticks},
              {"sectors", sectors},
              {"date", isoDateText(lap.createdAt)},
              {"generator", lap.generatorVersion},
              {"proof", "/api/v1/laps/" + std::to_string(lap.id) + "/proof"}};
}

bool parseId(const std::string& text, int64_t& id) {
  if (text.empty() || text.size() > size_t(kMaxIdDigits)) return false;
  id = std::stoll(text);
  return id > 0;
}

void postPlayer(Board& board, const httplib::Request& req, httplib::Response& res) {
  json body = json::parse(req.body, nullptr, false);
  if (body.is_discarded() || !body.is_object() || !body.contains("name") || !body["name"].is_string())
    return sendError(res, 400, "expected {\"name\": \"...\"}");
  std::string name = body["name"].get<std::string>();
  if (!validPlayerName(name)) return sendError(res, 422, "a name is 3 to 24 printable characters");
  std::string token = newToken();
  if (token.empty()) return sendError(res, 500, "no random source");
  Player player;
  std::string why;
  switch (board.store.createPlayer(name, tokenHash(token), nowMs(), player, why)) {
    case StoreResult::Ok: return sendJson(res, 201, json{{"player", player.id}, {"name", name}, {"token", token}});
    case StoreResult::Duplicate: return sendError(res, 409, "that name is taken");
    default: return sendError(res, 500, "storage failed: " + why);
  }
}

// The claim of a submission: ?circuit=NAME&generator=N, both optional.
bool requestClaim(const httplib::Request& req, LapClaim& claim, std::string& why) {
  std::string circuit = req.has_param("circuit") ? req.get_param_value("circuit") : "default";
  if (!parseCircuitName(circuit, claim.circuit)) {
    why = "unknown circuit name";
    return false;
  }
  int64_t generator = 0;
  if (!queryNumber(req, "generator", kGeneratorVersion, 1000000, generator)) {
    why = "generator must be a version number";
    return false;
  }
  claim.generatorVersion = int(generator);
  return true;
}

void postLap(Board& board, const httplib::Request& req, httplib::Response& res) {
  std::string token = bearerToken(req.get_header_value("Authorization"));
  if (token.empty()) return sendError(res, 401, "needs Authorization: Bearer TOKEN");
  Player player;
  std::string why;
  StoreResult found = board.store.playerByToken(tokenHash(token), player, why);
  if (found == StoreResult::NotFound) return sendError(res, 401, "unknown token");
  if (found != StoreResult::Ok) return sendError(res, 500, "storage failed: " + why);
  if (req.body.empty()) return sendError(res, 400, "empty body: send the proof file's bytes");
  LapClaim request, claim;
  if (!requestClaim(req, request, why)) return sendError(res, 400, why);

  StoreResult slot = board.store.claimSubmission(player.id, nowMs(), board.options.submitIntervalMs, why);
  if (slot == StoreResult::Duplicate) {
    res.set_header("Retry-After", std::to_string((board.options.submitIntervalMs + 999) / 1000));
    return sendError(res, 429, "submitting too fast");
  }
  if (slot != StoreResult::Ok) return sendError(res, 500, "storage failed: " + why);

  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(req.body.data());
  if (!claimOfProof(bytes, req.body.size(), request, claim, why)) return sendError(res, 422, why);
  CheckedLap checked;
  VerifierPool::Outcome outcome = board.verifiers.verify(bytes, req.body.size(), claim, checked, why);
  if (outcome == VerifierPool::Outcome::Busy) {
    res.set_header("Retry-After", "1");
    return sendError(res, 503, why);
  }
  if (outcome == VerifierPool::Outcome::Refused) return sendError(res, 422, why);
  if (!checked.clean) return sendError(res, 422, "not a clean lap: " + checked.uncleanWhy);

  NewLap lap;
  lap.playerId = player.id;
  lap.circuit = circuitName(checked.circuit);
  lap.lapClass = lapClassName(checked.lapClass);
  lap.ticks = checked.ticks;
  lap.lapTime = checked.lapTime;
  for (int s = 0; s < kSectorCount; ++s) lap.sectors[s] = checked.sectors[s];
  lap.generatorVersion = checked.generatorVersion;
  lap.trackId = checked.trackId;
  lap.createdAt = nowMs();
  lap.proof = req.body;
  StoredLap stored;
  if (board.store.addLap(lap, stored, why) != StoreResult::Ok) return sendError(res, 500, "storage failed: " + why);
  res.set_header("Location", "/api/v1/laps/" + std::to_string(stored.lapId));
  sendJson(res, 201,
           json{{"lap", stored.lapId},
                {"rank", stored.rank},
                {"best", stored.best},
                {"time", double(lap.lapTime)},
                {"time_text", lapTimeText(lap.lapTime)},
                {"circuit", lap.circuit},
                {"class", lap.lapClass}});
}

void getBoard(Board& board, const httplib::Request& req, httplib::Response& res) {
  CircuitId circuit;
  LapClass lapClass;
  if (!parseCircuitName(req.matches[1], circuit)) return sendError(res, 404, "unknown circuit name");
  if (!parseLapClass(req.matches[2], lapClass)) return sendError(res, 404, "the class is plain or turbo");
  int64_t offset = 0, limit = 0;
  if (!queryNumber(req, "offset", 0, 1000000000, offset) ||
      !queryNumber(req, "limit", kDefaultBoardLimit, kMaxBoardLimit, limit))
    return sendError(res, 400, "offset and limit are whole numbers, limit at most 200");
  std::vector<BoardRow> rows;
  int64_t total = 0;
  std::string why;
  if (board.store.board(circuitName(circuit), lapClassName(lapClass), offset, limit, rows, total, why) !=
      StoreResult::Ok)
    return sendError(res, 500, "storage failed: " + why);
  json laps = json::array();
  for (const BoardRow& row : rows) {
    json entry = lapJson(row.lap);
    entry["rank"] = row.rank;
    laps.push_back(entry);
  }
  sendJson(res, 200,
           json{{"circuit", circuitName(circuit)},
                {"class", lapClassName(lapClass)},
                {"total", total},
                {"offset", offset},
                {"limit", limit},
                {"laps", laps}});
}

void getLap(Board& board, const httplib::Request& req, httplib::Response& res, bool proof) {
  int64_t id = 0;
  if (!parseId(req.matches[1], id)) return sendError(res, 404, "no such lap");
  LapRecord lap;
  std::string why;
  StoreResult found = board.store.lap(id, proof, lap, why);
  if (found == StoreResult::NotFound) return sendError(res, 404, "no such lap");
  if (found != StoreResult::Ok) return sendError(res, 500, "storage failed: " + why);
  if (!proof) return sendJson(res, 200, lapJson(lap));
  res.set_header("Content-Disposition", "attachment; filename=\"lap-" + std::to_string(id) + ".ghost\"");
  res.set_content(lap.proof, "application/octet-stream");
}

}  // namespace

int64_t nowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

void addApiRoutes(httplib::Server& server, Board& board) {
  server.Get("/healthz", [](const httplib::Request&, httplib::Response& res) {
    sendJson(res, 200, json{{"status", "ok"}});
  });
  server.Get("/api/v1/daily", [](const httplib::Request&, httplib::Response& res) {
    int64_t now = nowMs();
    sendJson(res, 200, json{{"circuit", circuitName(dailyCircuit(now))}, {"date", dateText(now).substr(0, 10)}});
  });
  server.Post("/api/v1/players",
              [&board](const httplib::Request& req, httplib::Response& res) { postPlayer(board, req, res); });
  server.Post("/api/v1/laps",
              [&board](const httplib::Request& req, httplib::Response& res) { postLap(board, req, res); });
  server.Get(R"(/api/v1/boards/([a-z0-9-]{1,32})/([a-z]{1,16}))",
             [&board](const httplib::Request& req, httplib::Response& res) { getBoard(board, req, res); });
  server.Get(R"(/api/v1/laps/([0-9]{1,18}))",
             [&board](const httplib::Request& req, httplib::Response& res) { getLap(board, req, res, false); });
  server.Get(R"(/api/v1/laps/([0-9]{1,18})/proof)",
             [&board](const httplib::Request& req, httplib::Response& res) { getLap(board, req, res, true); });
}

void configureServer(httplib::Server& server, const BoardOptions& options) {
  server.set_payload_max_length(options.maxProofBytes);
  server.set_read_timeout(options.timeoutSeconds, 0);
  server.set_write_timeout(options.timeoutSeconds, 0);
  // Readers keep their connection: a new one per few requests would overflow
  // the listen queue under many readers and cost a second's SYN retry.
  server.set_keep_alive_timeout(5);
  server.set_keep_alive_max_count(100000);
  // A response goes out in more than one write; without this the second waits
  // for the client's delayed acknowledgement (40 ms on Linux).
  server.set_tcp_nodelay(true);
  int threads = options.httpThreads;
  server.new_task_queue = [threads] { return new httplib::ThreadPool(size_t(threads)); };
  server.set_error_handler([](const httplib::Request& req, httplib::Response& res) {
    if (!res.body.empty()) return;
    std::string message = res.status == 413   ? "the body is over the size limit"
                          : res.status == 404 ? "not found"
                                              : "request refused";
    if (req.path.rfind("/api/", 0) == 0) {
      sendJson(res, res.status, json{{"error", message}});
    } else {
      res.set_content("<!doctype html><title>" + std::to_string(res.status) + "</title><p>" + escapeHtml(message) +
                          "</p>",
                      "text/html; charset=utf-8");
    }
  });
}
