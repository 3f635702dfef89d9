#include "app/outgauge_options.h"

#include <CLI/CLI.hpp>

#include <cmath>

namespace {

// One packet a simulation tick at most.
constexpr double kMaxRate = 75.0;

}  // namespace

void describeOutGaugeOptions(CLI::App& app, OutGaugeSettings& settings) {
  CLI::Option* address =
      app.add_option("--outgauge", settings.address, "Send OutGauge telemetry over UDP to HOST:PORT while driving")
          ->type_name("HOST:PORT");
  app.add_option_function<int32_t>(
         "--outgauge-id", [&settings](const int32_t& id) { settings.sendId = true, settings.id = id; },
         "Append this ID to every OutGauge packet (96 bytes instead of 92)")
      ->type_name("N")
      ->needs(address);
  app.add_option("--outgauge-rate", settings.rate, "OutGauge packets a second (at most 75, one a tick)")
      ->check([](const std::string& text) -> std::string {
        double rate = 0.0;
        // Infinity and values beyond a double (1e400) are no rate either.
        bool ok = CLI::detail::lexical_cast(text, rate) && std::isfinite(rate) && rate > 0.0 && rate <= kMaxRate;
        return ok ? "" : "needs a number of packets a second above 0 and at most 75";
      })
      ->type_name("HZ")
      ->needs(address);
}
