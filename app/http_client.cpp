#include "app/http_client.h"

#include <curl/curl.h>

#include <mutex>

namespace {

// Where an answer collects, with its cap.
struct BodySink {
  std::string* body;
  size_t limit;
  bool overLimit = false;
};

size_t collectBody(char* data, size_t size, size_t count, void* user) {
  BodySink* sink = static_cast<BodySink*>(user);
  size_t bytes = size * count;
  if (sink->body->size() + bytes > sink->limit) {
    sink->overLimit = true;
    return 0;  // libcurl ends the transfer with a write error
  }
  sink->body->append(data, bytes);
  return bytes;
}

int checkCancel(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  const std::atomic<bool>* cancel = static_cast<const std::atomic<bool>*>(user);
  return cancel != nullptr && cancel->load() ? 1 : 0;
}

bool hasPrefix(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

bool isHttpUrl(const std::string& url) {
  size_t scheme = hasPrefix(url, "http://") ? 7 : hasPrefix(url, "https://") ? 8 : 0;
  if (scheme == 0 || url.size() == scheme) return false;
  char first = url[scheme];
  if (first == '/' || first == ':' || first == '?' || first == '#') return false;
  for (char c : url)
    if (static_cast<unsigned char>(c) <= ' ' || c == 0x7f) return false;
  return true;
}

bool startHttp(std::string& why) {
  static std::once_flag once;
  static CURLcode started = CURLE_OK;
  std::call_once(once, [] { started = curl_global_init(CURL_GLOBAL_DEFAULT); });
  if (started != CURLE_OK) {
    why = curl_easy_strerror(started);
    return false;
  }
  return true;
}

HttpReply httpExchange(const HttpRequest& request, const HttpLimits& limits, const std::atomic<bool>* cancel) {
  HttpReply reply;
  if (!isHttpUrl(request.url)) {
    reply.why = "not an http(s) URL";
    return reply;
  }
  CURL* curl = curl_easy_init();
  if (curl == nullptr) {
    reply.why = "libcurl did not start";
    return reply;
  }
  BodySink sink{&reply.body, limits.maxBodyBytes};
  curl_slist* headers = nullptr;
  if (!request.bearerToken.empty())
    headers = curl_slist_append(headers, ("Authorization: Bearer " + request.bearerToken).c_str());
  if (request.post) {
    headers = curl_slist_append(headers, ("Content-Type: " + request.contentType).c_str());
    // No "Expect: 100-continue" pause before a large proof.
    headers = curl_slist_append(headers, "Expect:");
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.body.data());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(request.body.size()));
  }
  curl_easy_setopt(curl, CURLOPT_URL, request.url.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, limits.connectMs);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, limits.totalMs);
  curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(limits.maxBodyBytes));
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collectBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, checkCancel);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(cancel));
  curl_easy_setopt(curl, CURLOPT_USERAGENT, "stravo");

  CURLcode code = curl_easy_perform(curl);
  if (code == CURLE_OK) {
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    reply.status = int(status);
  } else {
    reply.body.clear();
    reply.why = sink.overLimit || code == CURLE_FILESIZE_EXCEEDED
                    ? "the answer is over " + std::to_string(limits.maxBodyBytes) + " bytes"
                    : curl_easy_strerror(code);
  }
  curl_slist_free_all(headers);
  curl_easy_cleanup(curl);
  return reply;
}
