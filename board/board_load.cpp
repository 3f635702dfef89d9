// stravo-board-load: submitters post one proof again and again while readers
// fetch a board page, against a board on this machine; prints the accepted
// proofs a second and the page's latency percentiles. Every loop ends after
// --seconds or --max-requests, whichever comes first.

#include "app/command_line.h"

#include <CLI/CLI.hpp>
#include <httplib.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kMaxSeconds = 120;

struct LoadOptions {
  int port = 8080;
  std::string proofPath;
  std::string circuit = "default";
  std::string page = "/circuits/default/plain";
  int submitters = 2;
  int readers = 50;
  int seconds = 10;
  long maxRequests = 100000;  // per thread
};

struct Tally {
  std::mutex mutex;
  long accepted = 0, refused = 0, busy = 0, failed = 0;
  std::vector<double> pageMs;
};

std::string newPlayer(int port, int index) {
  httplib::Client client("127.0.0.1", port);
  std::string name = "load-" + std::to_string(std::random_device()() % 1000000) + "-" + std::to_string(index);
  auto res = client.Post("/api/v1/players", nlohmann::json{{"name", name}}.dump(), "application/json");
  if (!res || res->status != 201) return "";
  nlohmann::json body = nlohmann::json::parse(res->body, nullptr, false);
  return body.is_object() && body.contains("token") ? body["token"].get<std::string>() : "";
}

void submit(const LoadOptions& o, const std::string& token, const std::string& proof, Clock::time_point end,
            Tally& tally) {
  httplib::Client client("127.0.0.1", o.port);
  client.set_read_timeout(30, 0);
  client.set_tcp_nodelay(true);
  httplib::Headers headers = {{"Authorization", "Bearer " + token}};
  std::string path = "/api/v1/laps?circuit=" + o.circuit;
  for (long n = 0; n < o.maxRequests && Clock::now() < end; ++n) {
    auto res = client.Post(path.c_str(), headers, proof, "application/octet-stream");
    std::lock_guard<std::mutex> lock(tally.mutex);
    if (!res) ++tally.failed;
    else if (res->status == 201) ++tally.accepted;
    else if (res->status == 503 || res->status == 429) ++tally.busy;
    else ++tally.refused;
  }
}

void read(const LoadOptions& o, Clock::time_point end, Tally& tally) {
  httplib::Client client("127.0.0.1", o.port);
  client.set_keep_alive(true);
  client.set_tcp_nodelay(true);
  std::vector<double> ms;
  long failed = 0;
  // The first request opens the connection, all at once for every reader:
  // the listen queue's overflow and SYN retry belong to the burst, not the page.
  client.Get(o.page.c_str());
  for (long n = 0; n < o.maxRequests && Clock::now() < end; ++n) {
    Clock::time_point start = Clock::now();
    auto res = client.Get(o.page.c_str());
    if (!res || res->status != 200) {
      ++failed;
      continue;
    }
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::lock_guard<std::mutex> lock(tally.mutex);
  tally.pageMs.insert(tally.pageMs.end(), ms.begin(), ms.end());
  tally.failed += failed;
}

double percentile(std::vector<double>& v, double p) {
  if (v.empty()) return 0.0;
  size_t i = std::min(v.size() - 1, size_t(p * double(v.size())));
  std::nth_element(v.begin(), v.begin() + long(i), v.end());
  return v[i];
}

}  // namespace

int main(int argc, char** argv) {
  LoadOptions o;
  CLI::App app("stravo-board-load: loopback load for a stravo-board.", "stravo-board-load");
  app.add_option("--port", o.port, "The board's port on 127.0.0.1")->check(CLI::Range(1, 65535));
  app.add_option("--proof", o.proofPath, "Proof file the submitters post")->type_name("FILE");
  app.add_option("--circuit", o.circuit, "Circuit the proof is for (default default)");
  app.add_option("--page", o.page, "Page the readers fetch (default /circuits/default/plain)");
  app.add_option("--submitters", o.submitters, "Submitting threads, each its own player (default 2)")
      ->check(CLI::Range(0, 64));
  app.add_option("--readers", o.readers, "Reading threads (default 50)")->check(CLI::Range(0, 500));
  app.add_option("--seconds", o.seconds, "How long (default 10, at most 120)")->check(CLI::Range(1, kMaxSeconds));
  app.add_option("--max-requests", o.maxRequests, "Requests per thread at most (default 100000)")
      ->check(CLI::Range(1L, 10000000L));
  CommandLineResult parsed = parseCommandLine(app, argc, argv);
  if (parsed.outcome == CommandLineOutcome::Help) {
    std::printf("%s", parsed.text.c_str());
    return 0;
  }
  if (parsed.outcome != CommandLineOutcome::Run) {
    std::fprintf(stderr, "stravo-board-load: %s\n%s\n", parsed.text.c_str(), usageLine(app).c_str());
    return kExitUsage;
  }
  std::string proof;
  if (o.submitters > 0) {
    std::ifstream in(o.proofPath, std::ios::binary);
    proof.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (proof.empty()) {
      std::fprintf(stderr, "stravo-board-load: cannot read the proof %s\n", o.proofPath.c_str());
      return kExitFailed;
    }
  }
  std::vector<std::string> tokens;
  for (int i = 0; i < o.submitters; ++i) {
    tokens.push_back(newPlayer(o.port, i));
    if (tokens.back().empty()) {
      std::fprintf(stderr, "stravo-board-load: cannot make a player on port %d\n", o.port);
      return kExitFailed;
    }
  }

  Tally tally;
  Clock::time_point start = Clock::now();
  Clock::time_point end = start + std::chrono::seconds(o.seconds);
  std::vector<std::thread> threads;
  for (const std::string& token : tokens)
    threads.emplace_back([&o, token, &proof, end, &tally] { submit(o, token, proof, end, tally); });
  for (int i = 0; i < o.readers; ++i) threads.emplace_back([&o, end, &tally] { read(o, end, tally); });
  for (std::thread& t : threads) t.join();
  double seconds = std::chrono::duration<double>(Clock::now() - start).count();

  if (o.submitters > 0)
    std::printf("proofs: %ld accepted in %.1f s (%.1f/s) by %d submitters, %ld refused, %ld busy\n", tally.accepted,
                seconds, double(tally.accepted) / seconds, o.submitters, tally.refused, tally.busy);
  if (o.readers > 0) {
    size_t reads = tally.pageMs.size();
    double p50 = percentile(tally.pageMs, 0.50), p99 = percentile(tally.pageMs, 0.99);
    double worst = tally.pageMs.empty() ? 0.0 : *std::max_element(tally.pageMs.begin(), tally.pageMs.end());
    std::printf("page %s: %zu reads by %d readers (%.0f/s), p50 %.1f ms, p99 %.1f ms, max %.1f ms\n", o.page.c_str(),
                reads, o.readers, double(reads) / seconds, p50, p99, worst);
  }
  if (tally.failed > 0) std::printf("failed requests: %ld\n", tally.failed);
  return tally.failed > 0 ? kExitFailed : 0;
}
