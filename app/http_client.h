#pragma once

#include <atomic>
#include <cstddef>
#include <string>

// One HTTP exchange over libcurl, bounded in time and size. Blocking: the game
// calls it from its board worker thread only, the headless runner directly.

struct HttpRequest {
  bool post = false;         // POST with `body`, else GET
  std::string url;           // http:// or https:// only
  std::string body;          // POST body
  std::string contentType;   // of the POST body
  std::string bearerToken;   // Authorization: Bearer TOKEN; empty for none
};

// What a board may cost one exchange at most.
struct HttpLimits {
  long connectMs = 3000;        // to open the connection
  long totalMs = 15000;         // the whole exchange
  size_t maxBodyBytes = 8u << 20;  // answers longer than this are cut off and failed
};

// An answer (status > 0) or none (status 0, `why` says what went wrong: no
// connection, a time-out, a reset, an over-long body).
struct HttpReply {
  int status = 0;
  std::string body;
  std::string why;
};

// Prepares libcurl once for the whole process; call from the main thread before
// any worker starts. False with `why` when libcurl cannot start.
bool startHttp(std::string& why);

// Runs one exchange. `cancel`, when given and set, aborts a transfer in flight
// within about a tenth of a second (the game closing).
HttpReply httpExchange(const HttpRequest& request, const HttpLimits& limits,
                       const std::atomic<bool>* cancel = nullptr);

// True for a URL the client will talk to: http:// or https:// and a host.
bool isHttpUrl(const std::string& url);
