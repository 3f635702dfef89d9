#pragma once

#include "app/outgauge_feed.h"

namespace CLI {
class App;
}

// The OutGauge telemetry options (--outgauge, --outgauge-id, --outgauge-rate),
// the same for the game and the headless runner, bound to `settings`.
void describeOutGaugeOptions(CLI::App& app, OutGaugeSettings& settings);
