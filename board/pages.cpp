#include "board/board_server.h"

#include "board/html.h"
#include "board/trace_svg.h"
#include "game/lap_class.h"
#include "game/laps/sector_splits.h"

#include <httplib.h>

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

// Rows of one board page.
constexpr int64_t kPageRows = 50;
// One trace sample every this many ticks: five a second.
constexpr int kTraceEveryTicks = 15;

const char* const kStylesheet = R"(body{font:15px/1.4 sans-serif;margin:2em auto;max-width:56em;padding:0 1em;color:#222}
h1{font-size:1.5em}a{color:#0645ad}
table{border-collapse:collapse;width:100%}th,td{padding:.3em .6em;text-align:right;border-bottom:1px solid #ddd}
th:nth-child(2),td:nth-child(2){text-align:left}
#circuits th,#circuits td{text-align:left}
td.best{background:#e4d4f7;font-weight:bold}
nav a{margin-right:1em}nav a.current{font-weight:bold;text-decoration:none;color:#222}
.trace{width:100%;height:auto;background:#fafafa}
.trace .plot{fill:none;stroke:#ccc}.trace .zero{stroke:#999;stroke-dasharray:4 3}
.trace polyline{fill:none;stroke-width:1.5}.trace .speed{stroke:#c0392b}.trace .leader{stroke:#2c7be5;stroke-dasharray:6 4;stroke-width:1}
.trace .delta{stroke:#2a9d46}.trace text{font-size:11px;fill:#555}
.key span{display:inline-block;width:1.2em;height:.3em;margin:0 .3em .2em 1em}
dl{display:grid;grid-template-columns:max-content auto;gap:.2em 1em}dt{color:#666}dd{margin:0}
)";

std::string page(const std::string& title, const std::string& body) {
  return "<!doctype html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><meta name=\"viewport\" "
         "content=\"width=device-width\"><title>" +
         escapeHtml(title) + "</title><link rel=\"stylesheet\" href=\"/style.css\"></head><body>\n" +
         "<p><a href=\"/\">Stravo board</a></p>\n" + body + "\n</body></html>\n";
}

void sendPage(httplib::Response& res, int status, const std::string& title, const std::string& body) {
  res.status = status;
  res.set_content(page(title, body), "text/html; charset=utf-8");
}

std::string boardLink(const std::string& circuit, const std::string& lapClass) {
  return "/circuits/" + escapeHtml(circuit) + "/" + escapeHtml(lapClass);
}

std::string lapLink(int64_t id, const std::string& text) {
  return "<a href=\"/laps/" + std::to_string(id) + "\">" + text + "</a>";
}

// The sectors as the runner prints them: hundredths that add up to the lap.
void sectorTexts(const LapRecord& lap, std::string out[kSectorCount], long hundredths[kSectorCount]) {
  if (!sectorHundredths(lap.sectors, lap.lapTime, hundredths)) {
    for (int s = 0; s < kSectorCount; ++s) {
      out[s] = "-";
      hundredths[s] = -1;
    }
    return;
  }
  for (int s = 0; s < kSectorCount; ++s) {
    char text[24];
    std::snprintf(text, sizeof(text), "%ld.%02ld", hundredths[s] / 100, hundredths[s] % 100);
    out[s] = text;
  }
}

void indexPage(Board& board, httplib::Response& res) {
  std::vector<Leader> leaders;
  std::string why;
  if (board.store.leaders(leaders, why) != StoreResult::Ok) return sendPage(res, 500, "Error", "<p>Storage failed.</p>");
  // The day's circuit comes first, with or without laps; earlier days stay below.
  std::string today = circuitName(dailyCircuit(nowMs()));
  std::stable_partition(leaders.begin(), leaders.end(), [&today](const Leader& l) { return l.circuit == today; });
  std::string body = "<h1>Circuits</h1>\n<p id=\"daily\">Today's circuit: <a href=\"" + boardLink(today, "plain") +
                     "\">" + escapeHtml(today) + "</a> (<a href=\"" + boardLink(today, "turbo") + "\">turbo</a>)</p>\n";
  if (leaders.empty()) body += "<p>No laps yet.</p>";
  else {
    body += "<table id=\"circuits\"><thead><tr><th>Circuit</th><th>Leader</th><th>Class</th><th>Time</th>"
            "<th>Players</th></tr></thead><tbody>\n";
    for (const Leader& l : leaders) {
      body += "<tr><td><a href=\"" + boardLink(l.circuit, l.lapClass) + "\">" + escapeHtml(l.circuit) + "</a></td><td class=\"player\">" +
              escapeHtml(l.lap.playerName) + "</td><td>" + escapeHtml(l.lapClass) + "</td><td class=\"time\">" +
              lapLink(l.lap.id, timeText(l.lap.lapTime)) + "</td><td>" + std::to_string(l.laps) + "</td></tr>\n";
    }
    body += "</tbody></table>";
  }
  body += "\n<p>Every time here was driven again by the board from its proof.</p>";
  sendPage(res, 200, "Stravo board", body);
}

void boardPage(Board& board, const httplib::Request& req, httplib::Response& res) {
  CircuitId circuit;
  LapClass lapClass;
  if (!parseCircuitName(req.matches[1], circuit) || !parseLapClass(req.matches[2], lapClass))
    return sendPage(res, 404, "Not found", "<p>No such board.</p>");
  std::string name = circuitName(circuit), cls = lapClassName(lapClass);
  int64_t offset = 0;
  if (req.has_param("offset")) {
    std::string text = req.get_param_value("offset");
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
      return sendPage(res, 400, "Bad request", "<p>The offset is a whole number.</p>");
    offset = std::stoll(text);
  }
  std::vector<BoardRow> rows, top;
  int64_t total = 0, ignored = 0;
  std::string why;
  if (board.store.board(name, cls, offset, kPageRows, rows, total, why) != StoreResult::Ok ||
      (offset > 0 && board.store.board(name, cls, 0, 1, top, ignored, why) != StoreResult::Ok))
    return sendPage(res, 500, "Error", "<p>Storage failed.</p>");

  // Best sectors of the rows shown, marked in the table.
  long best[kSectorCount] = {-1, -1, -1};
  std::vector<std::array<std::string, kSectorCount>> texts(rows.size());
  std::vector<std::array<long, kSectorCount>> hundredths(rows.size());
  for (size_t r = 0; r < rows.size(); ++r) {
    sectorTexts(rows[r].lap, texts[r].data(), hundredths[r].data());
    for (int s = 0; s < kSectorCount; ++s)
      if (hundredths[r][s] >= 0 && (best[s] < 0 || hundredths[r][s] < best[s])) best[s] = hundredths[r][s];
  }

  std::string body = "<h1>" + escapeHtml(name) + ", " + escapeHtml(cls) + "</h1>\n<nav>";
  for (LapClass lapClass : kLapClasses) {
    const char* c = lapClassName(lapClass);
    body += "<a href=\"" + boardLink(name, c) + "\"" + (cls == c ? " class=\"current\"" : "") + ">" + c + "</a>";
  }
  body += "</nav>\n";
  if (rows.empty()) {
    body += "<p>No laps on this board yet.</p>";
    return sendPage(res, 200, name + " " + cls, body);
  }
  float leader = top.empty() ? rows.front().lap.lapTime : top.front().lap.lapTime;
  body += "<table id=\"board\"><thead><tr><th>Rank</th><th>Player</th><th>Time</th><th>Gap</th><th>S1</th>"
          "<th>S2</th><th>S3</th><th>Date</th><th>Lap</th></tr></thead><tbody>\n";
  for (size_t r = 0; r < rows.size(); ++r) {
    const LapRecord& lap = rows[r].lap;
    body += "<tr><td class=\"rank\">" + std::to_string(rows[r].rank) + "</td><td class=\"player\">" +
            escapeHtml(lap.playerName) + "</td><td class=\"time\">" + timeText(lap.lapTime) + "</td><td class=\"gap\">" +
            (rows[r].rank == 1 ? std::string("-") : gapText(lap.lapTime - leader)) + "</td>";
    for (int s = 0; s < kSectorCount; ++s)
      body += std::string("<td class=\"sector") + (hundredths[r][s] == best[s] ? " best" : "") + "\">" + texts[r][s] +
              "</td>";
    body += "<td>" + dateText(lap.createdAt) + "</td><td>" + lapLink(lap.id, "#" + std::to_string(lap.id)) +
            "</td></tr>\n";
  }
  body += "</tbody></table>\n";
  if (offset + kPageRows < total)
    body += "<p><a href=\"" + boardLink(name, cls) + "?offset=" + std::to_string(offset + kPageRows) + "\">More</a></p>";
  body += "<p>Best sectors are marked. " + std::to_string(total) + " players.</p>";
  sendPage(res, 200, name + " " + cls, body);
}

void lapPage(Board& board, const httplib::Request& req, httplib::Response& res) {
  std::string text = req.matches[1];
  int64_t id = text.size() <= 18 ? std::stoll(text) : 0;
  LapRecord lap, leaderLap;
  std::string why;
  StoreResult found = board.store.lap(id, true, lap, why);
  if (found == StoreResult::NotFound) return sendPage(res, 404, "Not found", "<p>No such lap.</p>");
  if (found != StoreResult::Ok) return sendPage(res, 500, "Error", "<p>Storage failed.</p>");
  std::vector<BoardRow> top;
  int64_t total = 0;
  if (board.store.board(lap.circuit, lap.lapClass, 0, 1, top, total, why) == StoreResult::Ok && !top.empty())
    board.store.lap(top.front().lap.id, true, leaderLap, why);

  // A proof holds no poses: its trace is driven again, on a verifier.
  std::vector<TraceSample> trace, leaderTrace;
  auto traceOf = [&board](const LapRecord& of, std::vector<TraceSample>& out) {
    LapClaim claim;
    claim.generatorVersion = of.generatorVersion;
    CheckedLap checked;
    std::string why;
    if (!parseCircuitName(of.circuit, claim.circuit)) return;
    board.verifiers.verify(reinterpret_cast<const uint8_t*>(of.proof.data()), of.proof.size(), claim, checked, why,
                           &out, kTraceEveryTicks);
  };
  traceOf(lap, trace);
  if (!leaderLap.proof.empty()) traceOf(leaderLap, leaderTrace);

  std::string sectors[kSectorCount];
  long hundredths[kSectorCount];
  sectorTexts(lap, sectors, hundredths);
  std::string body = "<h1>Lap #" + std::to_string(lap.id) + " by <span class=\"player\">" +
                     escapeHtml(lap.playerName) + "</span></h1>\n<dl>";
  body += "<dt>Time</dt><dd class=\"time\">" + timeText(lap.lapTime) + "</dd>";
  body += "<dt>Sectors</dt><dd class=\"sectors\">" + sectors[0] + " / " + sectors[1] + " / " + sectors[2] + "</dd>";
  body += "<dt>Board</dt><dd><a href=\"" + boardLink(lap.circuit, lap.lapClass) + "\">" + escapeHtml(lap.circuit) +
          ", " + escapeHtml(lap.lapClass) + "</a></dd>";
  if (leaderLap.id != 0)
    body += "<dt>Leader</dt><dd>" + lapLink(leaderLap.id, escapeHtml(leaderLap.playerName)) + " " +
            timeText(leaderLap.lapTime) + (leaderLap.id == lap.id ? "" : " (" + gapText(lap.lapTime - leaderLap.lapTime) + ")") +
            "</dd>";
  body += "<dt>Driven</dt><dd>" + dateText(lap.createdAt) + " UTC</dd>";
  body += "<dt>Ticks</dt><dd>" + std::to_string(lap.ticks) + "</dd></dl>\n";
  body += "<p class=\"key\">Speed along the lap<span style=\"background:#c0392b\"></span>this lap"
          "<span style=\"background:#2c7be5\"></span>leader<span style=\"background:#2a9d46\"></span>behind the leader (+)"
          "</p>\n";
  body += traceSvg(trace, leaderTrace);
  body += "\n<p><a id=\"proof\" href=\"/api/v1/laps/" + std::to_string(lap.id) +
          "/proof\" download>Download the proof</a> to race against it "
          "(<code>stravo-sim --ghost FILE</code>).</p>";
  sendPage(res, 200, "Lap " + std::to_string(lap.id), body);
}

}  // namespace

void addPageRoutes(httplib::Server& server, Board& board) {
  server.Get("/", [&board](const httplib::Request&, httplib::Response& res) { indexPage(board, res); });
  server.Get(R"(/circuits/([a-z0-9-]{1,32})/([a-z]{1,16}))",
             [&board](const httplib::Request& req, httplib::Response& res) { boardPage(board, req, res); });
  server.Get(R"(/laps/([0-9]{1,18}))",
             [&board](const httplib::Request& req, httplib::Response& res) { lapPage(board, req, res); });
  server.Get("/style.css", [](const httplib::Request&, httplib::Response& res) {
    res.set_header("Cache-Control", "max-age=3600");
    res.set_content(kStylesheet, "text/css");
  });
}
