// OutGauge telemetry: the packet's bytes, its pacing, and stravo-sim sending it
// to a UDP listener on 127.0.0.1 while the autopilot drives the oval.

#include "app/input_device.h"
#include "app/scripted_input.h"
#include "game/game_state.h"
#include "game/outgauge_packet.h"
#include "tests/sim_tracks.h"
#include "vehicle/car.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using namespace simtracks;

namespace {

constexpr float kSpeedTol = 1e-5f;  // relative: the CSV's km/h against the packet's m/s

template <typename T>
T fieldAt(const std::string& bytes, size_t offset) {
  T value;
  std::memcpy(&value, bytes.data() + offset, sizeof(T));
  return value;
}

std::string packetBytes(const OutGaugePacket& p, size_t size) {
  return std::string(reinterpret_cast<const char*>(&p), size);
}

TEST(OutGaugePacket, CarValuesLandAtTheirOffsets) {
  auto car = std::make_unique<PhCar>();
  GameState state;
  car->gear = 3;
  car->turbo = true;
  car->boost = 20.0f;
  car->rpmAverage = 7200.0f;
  car->current.velocity = Vec3(0.3, 0.0, 0.4);  // 0.5 m/tick
  car->throttle = 0.75f;
  car->footBrake = 0.25f;
  car->clutch = 0.5f;
  state.lapTime = 75.5f;
  state.bestShown = kEmptyLapTime;
  std::string b = packetBytes(buildOutGaugePacket(*car, state, 1234, -7), kOutGaugeSizeWithId);

  EXPECT_EQ(fieldAt<uint32_t>(b, 0), 1234u);
  EXPECT_EQ(b.substr(4, 4), "STRV");
  EXPECT_EQ(fieldAt<uint16_t>(b, 8), 0x6000);  // turbo and km/h
  EXPECT_EQ(fieldAt<uint8_t>(b, 10), 4);       // third gear
  EXPECT_EQ(fieldAt<uint8_t>(b, 11), 0);
  EXPECT_FLOAT_EQ(fieldAt<float>(b, 12), 37.5f);
  EXPECT_FLOAT_EQ(fieldAt<float>(b, 16), 7200.0f);
  EXPECT_FLOAT_EQ(fieldAt<float>(b, 20), 1.0f);  // full boost reads one bar
  const float gauges[4] = {0.0f, 1.0f, 0.0f, 0.0f};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(fieldAt<float>(b, 24 + 4 * i), gauges[i]) << i;
  EXPECT_EQ(fieldAt<uint32_t>(b, 40), 5u);  // shift light and handbrake exist
  EXPECT_EQ(fieldAt<uint32_t>(b, 44), 1u);  // shift light lit, no handbrake
  EXPECT_EQ(fieldAt<float>(b, 48), 0.75f);
  EXPECT_EQ(fieldAt<float>(b, 52), 0.25f);
  EXPECT_EQ(fieldAt<float>(b, 56), 0.5f);
  EXPECT_EQ(std::string(b.data() + 60), "1:15.50");
  EXPECT_EQ(std::string(b.data() + 76), "9:59.99");
  EXPECT_EQ(b[75], '\0');
  EXPECT_EQ(b[91], '\0');
  EXPECT_EQ(fieldAt<int32_t>(b, 92), -7);
}

TEST(OutGaugePacket, TurboOffReadsNoBoostAndLightsFollowTheCar) {
  auto car = std::make_unique<PhCar>();
  ScriptedInput source;
  InputDevice input(&source);
  car->input = &input;
  GameState state;
  car->turbo = false;
  car->boost = 12.0f;  // builds up even with the turbo off
  car->rpmAverage = 6999.0f;
  source.setKey(kKeyHandbrake, true);
  input.update();
  OutGaugePacket p = buildOutGaugePacket(*car, state, 0, 0);
  EXPECT_EQ(p.Flags, kOutGaugeFlagKm);
  EXPECT_EQ(p.Turbo, 0.0f);
  EXPECT_EQ(p.Gear, 2);  // reset leaves first gear
  EXPECT_EQ(p.ShowLights, kOutGaugeLightHandbrake);
  car->gear = 0;
  EXPECT_EQ(buildOutGaugePacket(*car, state, 0, 0).Gear, 0);  // reverse
}

TEST(OutGaugeClock, OnePacketATickOrFewerAndWholeMilliseconds) {
  OutGaugeClock full;
  uint32_t previous = 0;
  for (int i = 0; i < 150; ++i) {
    EXPECT_TRUE(full.tick()) << i;
    uint32_t step = full.timeMs() - previous;
    EXPECT_TRUE(step == 13 || step == 14) << i << ": " << step;
    previous = full.timeMs();
  }
  EXPECT_EQ(full.timeMs(), 2000u);  // two seconds

  // 25 Hz: every third tick; 30 Hz: two ticks of five; above 75 Hz: every tick.
  const double rates[] = {25.0, 30.0, 100.0};
  const int expected[] = {25, 30, 75};
  for (int r = 0; r < 3; ++r) {
    OutGaugeClock clock;
    clock.rate = rates[r];
    int sent = 0;
    for (int i = 0; i < 75; ++i) sent += clock.tick() ? 1 : 0;
    EXPECT_EQ(sent, expected[r]) << rates[r];
  }
}

// A UDP socket on 127.0.0.1 that keeps every datagram a run sends it.
class Listener {
 public:
  Listener() {
    fd = socket(AF_INET, SOCK_DGRAM, 0);
    int buffer = 1 << 22;
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &buffer, sizeof(buffer));
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof(a));
    socklen_t size = sizeof(a);
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size);
    port = ntohs(a.sin_port);
    reader = std::thread([this] { read(); });
  }
  ~Listener() {
    finish();
    close(fd);
  }
  // The datagrams received; call after the sender has ended.
  const std::vector<std::string>& finish() {
    if (reader.joinable()) {
      done = true;
      reader.join();
    }
    return packets;
  }
  std::string address() const { return "127.0.0.1:" + std::to_string(port); }

 private:
  // Drains the socket until the run has ended and nothing more arrives.
  void read() {
    char buffer[256];
    pollfd p{fd, POLLIN, 0};
    for (;;) {
      bool finishing = done;
      if (poll(&p, 1, 20) > 0) {
        ssize_t n = recv(fd, buffer, sizeof(buffer), 0);
        if (n >= 0) packets.emplace_back(buffer, size_t(n));
      } else if (finishing) {
        return;
      }
    }
  }

  int fd = -1;
  int port = 0;
  std::atomic<bool> done{false};
  std::vector<std::string> packets;
  std::thread reader;
};

// The telemetry CSV as rows of cells, header dropped.
std::vector<std::vector<std::string>> rows(const std::string& csv) {
  std::vector<std::vector<std::string>> out;
  std::istringstream lines(csv);
  std::string line;
  std::getline(lines, line);
  while (std::getline(lines, line)) {
    std::vector<std::string> cells;
    std::istringstream in(line);
    std::string cell;
    while (std::getline(in, cell, ',')) cells.push_back(cell);
    out.push_back(cells);
  }
  return out;
}

// Columns of the runner's telemetry.
constexpr int kKmhColumn = 7;
constexpr int kRpmAverageColumn = 9;
constexpr int kGearColumn = 10;

class OutGaugeRun : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = makeDataFolder();
    ASSERT_FALSE(dir.empty());
    ASSERT_TRUE(writeOval(dir));
  }
  void TearDown() override { removeDataFolder(dir); }

  // Six seconds of the autopilot sending to the listener; the packets received.
  std::vector<std::string> drive(const std::string& args) {
    Listener listener;
    EXPECT_EQ(runSim(dir, "--autopilot --ticks 450 --telemetry t.csv --outgauge " + listener.address() + " " +
                               args),
              0)
        << readFile(dir + "/err.txt");
    EXPECT_EQ(readFile(dir + "/err.txt"), "");
    return listener.finish();
  }

  std::string dir;
};

}  // namespace

TEST_F(OutGaugeRun, AutopilotPacketsMatchTheTelemetryTickByTick) {
  std::vector<std::string> packets = drive("--turbo --outgauge-id 4242");
  std::vector<std::vector<std::string>> csv = rows(readFile(dir + "/t.csv"));
  ASSERT_EQ(csv.size(), 450u);
  ASSERT_EQ(packets.size(), csv.size());
  uint32_t previous = 0;
  int moving = 0;
  for (size_t i = 0; i < packets.size(); ++i) {
    const std::string& b = packets[i];
    ASSERT_EQ(b.size(), kOutGaugeSizeWithId) << i;
    uint32_t time = fieldAt<uint32_t>(b, 0);
    EXPECT_TRUE(time - previous == 13 || time - previous == 14) << i << ": " << previous << " to " << time;
    previous = time;
    EXPECT_EQ(b.substr(4, 4), "STRV");
    EXPECT_EQ(fieldAt<uint16_t>(b, 8), kOutGaugeFlagKm | kOutGaugeFlagTurbo) << i;
    EXPECT_EQ(fieldAt<uint8_t>(b, 10), std::stoi(csv[i][kGearColumn]) + 1) << i;
    float speed = std::stof(csv[i][kKmhColumn]) / 3.6f;
    EXPECT_NEAR(fieldAt<float>(b, 12), speed, speed * kSpeedTol + 1e-6f) << i;
    EXPECT_EQ(fieldAt<float>(b, 16), std::stof(csv[i][kRpmAverageColumn])) << i;
    EXPECT_EQ(fieldAt<int32_t>(b, 92), 4242);
    moving += fieldAt<float>(b, 12) > 5.0f ? 1 : 0;
  }
  EXPECT_EQ(previous, 6000u);  // 450 ticks are six seconds
  EXPECT_GT(moving, 200);      // the autopilot really drove
}

TEST_F(OutGaugeRun, WithoutIdOrTurboPacketsAre92BytesWithNoBoost) {
  std::vector<std::string> packets = drive("");
  ASSERT_EQ(packets.size(), 450u);
  for (const std::string& b : packets) {
    ASSERT_EQ(b.size(), kOutGaugeSize);
    EXPECT_EQ(fieldAt<uint16_t>(b, 8), kOutGaugeFlagKm);
    EXPECT_EQ(fieldAt<float>(b, 20), 0.0f);
  }
}

TEST_F(OutGaugeRun, LowerRateSendsEveryThirdTick) {
  std::vector<std::string> packets = drive("--outgauge-rate 25");
  ASSERT_EQ(packets.size(), 150u);
  for (size_t i = 0; i < packets.size(); ++i) EXPECT_EQ(fieldAt<uint32_t>(packets[i], 0), 40u * (i + 1)) << i;
}

TEST_F(OutGaugeRun, BadAddressGivesOneLineAndANormalRun) {
  ASSERT_EQ(runSim(dir, "--autopilot --ticks 300"), 0);
  std::string plain = readFile(dir + "/out.txt");
  for (const char* address : {"nosuchhost.invalid:9000", "127.0.0.1", "127.0.0.1:http", ":9000", "127.0.0.1:70000"}) {
    ASSERT_EQ(runSim(dir, std::string("--autopilot --ticks 300 --outgauge ") + address), 0) << address;
    std::string err = readFile(dir + "/err.txt");
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(err.rfind("stravo-sim: OutGauge: ", 0), 0u) << err;
    EXPECT_EQ(readFile(dir + "/out.txt"), plain) << address;
  }
  EXPECT_EQ(runSim(dir, "--ticks 1 --outgauge-id seven"), 2);
  EXPECT_EQ(runSim(dir, "--ticks 1 --outgauge-rate 0"), 2);
}
