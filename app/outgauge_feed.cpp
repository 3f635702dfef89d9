#include "app/outgauge_feed.h"

#include "app/udp_sender.h"
#include "game/outgauge_packet.h"

#include <cstdio>

namespace {

// One feed per process: the shell's main loop and the runner each drive one car.
struct Feed {
  UdpSender* sender = nullptr;
  OutGaugeClock clock;
  bool sendId = false;
  int32_t id = 0;
  std::string program;
};

Feed feed;

}  // namespace

bool startOutGauge(const OutGaugeSettings& settings, const char* program) {
  stopOutGauge();
  if (settings.address.empty()) return false;
  std::string why;
  feed.sender = openUdpSender(settings.address, why);
  if (feed.sender == nullptr) {
    std::fprintf(stderr, "%s: OutGauge: %s; running without telemetry\n", program, why.c_str());
    return false;
  }
  feed.clock = OutGaugeClock{};
  feed.clock.rate = settings.rate;
  feed.sendId = settings.sendId;
  feed.id = settings.id;
  feed.program = program;
  return true;
}

void outGaugeTick(const PhCar& car, const GameState& state) {
  if (feed.sender == nullptr || !feed.clock.tick()) return;
  OutGaugePacket packet = buildOutGaugePacket(car, state, feed.clock.timeMs(), feed.id);
  std::string why;
  if (sendUdp(*feed.sender, &packet, feed.sendId ? kOutGaugeSizeWithId : kOutGaugeSize, why)) return;
  std::fprintf(stderr, "%s: OutGauge: %s; telemetry stopped\n", feed.program.c_str(), why.c_str());
  stopOutGauge();
}

void stopOutGauge() {
  closeUdpSender(feed.sender);
  feed.sender = nullptr;
}
