#include "app/board_api.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdlib>

namespace {

using nlohmann::json;

constexpr int kCreated = 201;
constexpr int kOk = 200;
constexpr int kUnauthorized = 401;
constexpr int kConflict = 409;
constexpr int kRequestTimeout = 408;
constexpr int kTooMany = 429;
// Longest reason taken over from a board's answer.
constexpr size_t kMaxReasonChars = 200;

HttpReply exchange(const BoardLink& link, HttpRequest request) {
  request.url = link.base + request.url;
  return httpExchange(request, link.limits, link.cancel);
}

// Printable ASCII only, cut to a line: a board's words end up in stderr and on the HUD.
std::string cleanText(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (out.size() >= kMaxReasonChars) break;
    out += (c >= ' ' && c < 0x7f) ? c : '?';
  }
  return out;
}

// The board's "error" text, or the status when the body has none.
std::string reasonOf(const HttpReply& reply) {
  json body = json::parse(reply.body, nullptr, false);
  if (body.is_object() && body.contains("error") && body["error"].is_string())
    return cleanText(body["error"].get<std::string>());
  return "the board answered " + std::to_string(reply.status);
}

bool whole(const json& object, const char* key, int64_t& out) {
  if (!object.contains(key) || !object[key].is_number_integer()) return false;
  out = object[key].get<int64_t>();
  return true;
}

bool text(const json& object, const char* key, std::string& out) {
  if (!object.contains(key) || !object[key].is_string()) return false;
  out = object[key].get<std::string>();
  return true;
}

bool number(const json& object, const char* key, double& out) {
  if (!object.contains(key) || !object[key].is_number()) return false;
  out = object[key].get<double>();
  return true;
}

std::string noAnswer(const HttpReply& reply) { return "no answer from the board: " + reply.why; }

// GET of `path`: the body of a 200 answer; false with the reason otherwise.
bool getBody(const BoardLink& link, const std::string& path, std::string& body, std::string& why) {
  HttpRequest request;
  request.url = path;
  HttpReply reply = exchange(link, request);
  if (reply.status == 0) {
    why = noAnswer(reply);
    return false;
  }
  if (reply.status != kOk) {
    why = reasonOf(reply);
    return false;
  }
  body = std::move(reply.body);
  return true;
}

}  // namespace

HttpLimits boardLimits() {
  HttpLimits limits;
  const char* text = std::getenv("STRAVO_BOARD_TIMEOUT_MS");
  if (text == nullptr) return limits;
  char* end = nullptr;
  long ms = std::strtol(text, &end, 10);
  if (end != text && *end == '\0' && ms > 0 && ms <= limits.totalMs) {
    limits.totalMs = ms;
    limits.connectMs = std::min(limits.connectMs, ms);
  }
  return limits;
}

bool parseBoardUrl(const std::string& textIn, std::string& base, std::string& why) {
  std::string url = textIn;
  if (!url.empty() && url.back() == '/') url.pop_back();
  if (!isHttpUrl(url)) {
    why = "--board needs an http:// or https:// URL";
    return false;
  }
  base = url;
  return true;
}

RegisterOutcome registerPlayer(const BoardLink& link, const std::string& name, std::string& token, std::string& why) {
  HttpRequest request;
  request.post = true;
  request.url = "/api/v1/players";
  request.contentType = "application/json";
  request.body = json{{"name", name}}.dump(-1, ' ', false, json::error_handler_t::replace);
  HttpReply reply = exchange(link, request);
  if (reply.status == 0) {
    why = noAnswer(reply);
    return RegisterOutcome::Failed;
  }
  if (reply.status == kConflict) {
    why = "the name " + cleanText(name) + " is taken on this board";
    return RegisterOutcome::NameTaken;
  }
  if (reply.status != kCreated) {
    why = reasonOf(reply);
    return RegisterOutcome::Failed;
  }
  json body = json::parse(reply.body, nullptr, false);
  std::string given;
  if (!body.is_object() || !text(body, "token", given) || given.empty() || given.size() > 256 ||
      cleanText(given) != given || given.find(' ') != std::string::npos) {
    why = "the board's answer has no usable token";
    return RegisterOutcome::Failed;
  }
  token = given;
  return RegisterOutcome::Registered;
}

SubmitReply judgeSubmitReply(const HttpReply& reply) {
  SubmitReply out;
  if (reply.status == 0) {
    out.why = noAnswer(reply);
    return out;
  }
  if (reply.status == kCreated) {
    json body = json::parse(reply.body, nullptr, false);
    if (body.is_object() && whole(body, "lap", out.lapId) && whole(body, "rank", out.rank) && out.rank > 0) {
      out.outcome = SubmitOutcome::Accepted;
      return out;
    }
    out.why = "the board's answer to a lap does not read";
    return out;
  }
  out.why = reasonOf(reply);
  out.tokenUnknown = reply.status == kUnauthorized;
  // A client error is a judgement of the lap, except for the ones that only
  // ask to come back later and an unknown token, which says nothing of the lap.
  bool judged = reply.status >= 400 && reply.status < 500 && reply.status != kTooMany &&
                reply.status != kRequestTimeout && reply.status != kUnauthorized;
  out.outcome = judged ? SubmitOutcome::Refused : SubmitOutcome::Retry;
  return out;
}

SubmitReply submitLap(const BoardLink& link, const std::string& token, const std::string& circuit, int generator,
                      const std::vector<uint8_t>& proof) {
  HttpRequest request;
  request.post = true;
  request.url = "/api/v1/laps?circuit=" + circuit + "&generator=" + std::to_string(generator);
  request.contentType = "application/octet-stream";
  request.body.assign(proof.begin(), proof.end());
  request.bearerToken = token;
  return judgeSubmitReply(exchange(link, request));
}

bool parseBoardPage(const std::string& body, BoardPage& out, std::string& why) {
  json page = json::parse(body, nullptr, false);
  why = "the board's list does not read";
  if (!page.is_object() || !whole(page, "total", out.total) || out.total < 0 || !page.contains("laps") ||
      !page["laps"].is_array())
    return false;
  out.entries.clear();
  for (const json& row : page["laps"]) {
    BoardEntry entry;
    if (!row.is_object() || !whole(row, "rank", entry.rank) || !whole(row, "lap", entry.lapId) ||
        !text(row, "player", entry.player) || !number(row, "time", entry.time) || entry.lapId <= 0)
      return false;
    entry.player = cleanText(entry.player);
    out.entries.push_back(entry);
  }
  why.clear();
  return true;
}

bool fetchBoardPage(const BoardLink& link, const std::string& circuit, const std::string& lapClass, int64_t offset,
                    int64_t limit, BoardPage& out, std::string& why) {
  std::string body;
  return getBody(link,
                 "/api/v1/boards/" + circuit + "/" + lapClass + "?offset=" + std::to_string(offset) +
                     "&limit=" + std::to_string(limit),
                 body, why) &&
         parseBoardPage(body, out, why);
}

bool fetchProof(const BoardLink& link, int64_t lapId, std::vector<uint8_t>& out, std::string& why) {
  std::string body;
  if (!getBody(link, "/api/v1/laps/" + std::to_string(lapId) + "/proof", body, why)) return false;
  out.assign(body.begin(), body.end());
  return true;
}
