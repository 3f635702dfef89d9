#include "app/game_options.h"

#include <CLI/CLI.hpp>

bool parseGameOptions(int argc, const char* const* argv, GameOptions& out, std::string& why) {
  CLI::App app{"Stravo driving demo", "stravo"};
  app.set_help_flag();  // not offered yet: the help would go through the error path
  OutGaugeSettings& og = out.outgauge;
  app.add_option("--outgauge", og.address, "send OutGauge telemetry over UDP to HOST:PORT while driving")
      ->type_name("HOST:PORT");
  app.add_option_function<int32_t>(
         "--outgauge-id", [&og](const int32_t& id) { og.sendId = true, og.id = id; },
         "append this ID to every OutGauge packet (96 bytes instead of 92)")
      ->type_name("N");
  app.add_option("--outgauge-rate", og.rate, "OutGauge packets a second (at most 75, one a tick)")
      ->check([](const std::string& text) -> std::string {
        double rate = 0.0;
        return CLI::detail::lexical_cast(text, rate) && rate > 0.0 ? "" : "needs a number of packets a second above 0";
      })
      ->type_name("HZ");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    why = e.what();
    why += "\n" + app.help();
    return false;
  }
  return true;
}
