#pragma once

#include "board/board_options.h"
#include "board/circuits.h"
#include "board/store.h"
#include "board/verifier_pool.h"

namespace httplib {
class Server;
}

// What the request handlers share.
struct Board {
  Store& store;
  VerifierPool& verifiers;
  CircuitCache& circuits;
  const BoardOptions& options;
};

// The JSON API under /api/v1 and /healthz.
void addApiRoutes(httplib::Server& server, Board& board);
// The HTML pages and their stylesheet.
void addPageRoutes(httplib::Server& server, Board& board);
// Time-outs, size limits and the error bodies (JSON under /api, HTML elsewhere).
void configureServer(httplib::Server& server, const BoardOptions& options);

// Milliseconds since 1970.
int64_t nowMs();
