// stravo-board: a time-trial leaderboard whose every time is proven. Each
// submitted lap is driven again, tick for tick, before it is ranked.

#include "board/board_server.h"

#include <httplib.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <pthread.h>
#include <thread>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

sigset_t stopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  return signals;
}

// SIGINT and SIGTERM stop the server from a thread of their own, so a stop
// never runs inside a signal handler; every other thread, started after
// main blocked them, leaves them to it.
std::thread stopOnSignal(httplib::Server& server) {
  sigset_t signals = stopSignals();
  return std::thread([&server, signals] {
    int received = 0;
    sigwait(&signals, &received);
    server.stop();
  });
}

}  // namespace

int main(int argc, char** argv) {
  BoardOptions options;
  bool help = false;
  std::string why;
  if (!parseBoardOptions(argc, argv, options, help, why)) {
    std::fprintf(stderr, "stravo-board: %s\n%s\n", why.c_str(), boardUsage());
    return kExitUsage;
  }
  if (help) {
    std::printf("%s", why.c_str());
    return 0;
  }
  std::signal(SIGPIPE, SIG_IGN);
  sigset_t signals = stopSignals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  std::error_code ec;
  std::filesystem::create_directories(options.dataDir, ec);
  std::unique_ptr<Store> store = Store::open(options.db, options.dbConnections, why);
  if (!store) {
    std::fprintf(stderr, "stravo-board: cannot open the database %s: %s\n", options.db.c_str(), why.c_str());
    return kExitFailed;
  }
  CircuitCache circuits(options.dataDir + "/circuits", options.maxCircuits);
  VerifierPool verifiers(options.workers, options.verifyQueue, circuits);
  Board board{*store, verifiers, circuits, options};

  httplib::Server server;
  configureServer(server, options);
  addApiRoutes(server, board);
  addPageRoutes(server, board);
  int port = options.port == 0 ? server.bind_to_any_port(options.host.c_str())
                               : (server.bind_to_port(options.host.c_str(), options.port) ? options.port : -1);
  if (port < 0) {
    std::fprintf(stderr, "stravo-board: cannot listen on %s:%d\n", options.host.c_str(), options.port);
    return kExitFailed;
  }
  std::thread stopper = stopOnSignal(server);
  std::printf("stravo-board: serving http://%s:%d/\n", options.host.c_str(), port);
  std::fflush(stdout);
  bool served = server.listen_after_bind();
  if (stopper.joinable()) {
    pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
  }
  return served ? 0 : kExitFailed;
}
