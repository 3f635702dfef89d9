#include "app/outgauge_options.h"

#include <CLI/CLI.hpp>

void describeOutGaugeOptions(CLI::App& app, OutGaugeSettings& settings) {
  app.add_option("--outgauge", settings.address, "Send OutGauge telemetry over UDP to HOST:PORT while driving")
      ->type_name("HOST:PORT");
  app.add_option_function<int32_t>(
         "--outgauge-id", [&settings](const int32_t& id) { settings.sendId = true, settings.id = id; },
         "Append this ID to every OutGauge packet (96 bytes instead of 92)")
      ->type_name("N");
  app.add_option("--outgauge-rate", settings.rate, "OutGauge packets a second (at most 75, one a tick)")
      ->check([](const std::string& text) -> std::string {
        double rate = 0.0;
        return CLI::detail::lexical_cast(text, rate) && rate > 0.0 ? "" : "needs a number of packets a second above 0";
      })
      ->type_name("HZ");
}
