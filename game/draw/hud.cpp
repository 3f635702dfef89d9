#include "game/draw/hud.h"

#include "game/draw/overlay.h"
#include "game/time_display.h"
#include "vehicle/car.h"

#include <GL/gl.h>

namespace {

// Dial angles in radians: 0 on the dial is 1.5 rad before the needle's zero.
constexpr float kDialStart = 1.5f;
constexpr float kSpeedDialPerKph = 0.020399998873472214f;
constexpr double kSpeedDialPerMetrePerTick = 5.507999751091006;
constexpr float kRevDialPerRpm = 0.0006374999647960067f;
constexpr float kDialRadius = 8.0f;

constexpr float kSpeedoX = 45.0f, kSpeedoY = 50.0f;
constexpr float kRevX = 65.0f, kRevY = 50.0f;

constexpr float kLapTimesX = 64.0f;
constexpr float kSpeedGlyphSize = 6.0f;

void tickMark(float cx, float cy, float a, float rIn, float rOut, float width) {
  float x1, y1, x2, y2;
  instrumentPoint(cx, cy, a, rIn, x1, y1);
  instrumentPoint(cx, cy, a, rOut, x2, y2);
  drawThickLine(x1, y1, x2, y2, width, width);
}

// A needle: a black shadow, then the coloured pointer over it.
void needle(float cx, float cy, float a, float r, float g, float b) {
  float x1, y1, x2, y2;
  glColor3f(0.0f, 0.0f, 0.0f);
  instrumentPoint(cx, cy, a, -0.2f, x1, y1);
  instrumentPoint(cx, cy, a, 8.0f, x2, y2);
  drawThickLine(x1, y1, x2, y2, 0.7f, 0.35f);
  glColor3f(r, g, b);
  instrumentPoint(cx, cy, a, 0.0f, x1, y1);
  instrumentPoint(cx, cy, a, 7.8f, x2, y2);
  drawThickLine(x1, y1, x2, y2, 0.4f, 0.2f);
}

void speedometer(const PhCar& car) {
  glColor3f(0.0f, 0.0f, 0.0f);
  drawArc(kSpeedoX, kSpeedoY, kDialRadius, 1.0f, 91, 389);
  for (int v = 0; v <= 250; v += 10) {
    float a = float(v) * kSpeedDialPerKph - kDialStart;
    tickMark(kSpeedoX, kSpeedoY, a, v % 50 == 0 ? 6.8f : 7.3f, kDialRadius, 0.6f);
  }
  glColor3f(0.5f, 0.5f, 0.5f);
  drawArc(kSpeedoX, kSpeedoY, kDialRadius, 0.5f, 93, 387);
  glColor3f(1.0f, 1.0f, 1.0f);
  for (int v = 0; v <= 250; v += 10) {
    float a = float(v) * kSpeedDialPerKph - kDialStart;
    tickMark(kSpeedoX, kSpeedoY, a, v % 50 == 0 ? 7.0f : 7.5f, kDialRadius, 0.2f);
  }
  float a = float(length(car.current.velocity) * kSpeedDialPerMetrePerTick - double(kDialStart));
  needle(kSpeedoX, kSpeedoY, a, 1.0f, 1.0f, 1.0f);
}

void revCounter(const PhCar& car) {
  glColor3f(0.0f, 0.0f, 0.0f);
  drawArc(kRevX, kRevY, kDialRadius, 1.0f, 91, 389);
  for (int rpm = 0; rpm <= 8000; rpm += 1000)
    tickMark(kRevX, kRevY, float(rpm) * kRevDialPerRpm - kDialStart, 6.8f, kDialRadius, 0.7f);
  glColor3f(0.5f, 0.5f, 0.5f);
  drawArc(kRevX, kRevY, kDialRadius, 0.5f, 93, 330);
  glColor3f(0.9f, 0.0f, 0.0f);
  drawArc(kRevX, kRevY, kDialRadius, 0.5f, -30, 27);
  for (int rpm = 0; rpm <= 8000; rpm += 1000) {
    // The red zone starts at 7000 rpm.
    if (rpm >= 7000)
      glColor3f(0.9f, 0.0f, 0.0f);
    else
      glColor3f(1.0f, 1.0f, 1.0f);
    tickMark(kRevX, kRevY, float(rpm) * kRevDialPerRpm - kDialStart, 7.0f, kDialRadius, 0.3f);
  }
  needle(kRevX, kRevY, car.rpmAverage * kRevDialPerRpm - kDialStart, 1.0f, 0.0f, 0.0f);
}

void lapTimes(const GameState& state, float runningLap) {
  if (state.turboUsedThisLap)
    glColor3f(1.0f, 0.8f, 0.8f);
  else
    glColor3f(0.8f, 0.9f, 0.9f);
  drawTime(kLapTimesX, -9.0f, state.bestShown);
  glColor3f(1.0f, 1.0f, 0.0f);
  drawTime(kLapTimesX, -6.0f, state.lastLapTime);
  glColor3f(1.0f, 1.0f, 1.0f);
  drawTime(kLapTimesX, -3.0f, runningLap);
}

void digitalSpeed(const PhCar& car) {
  int digits[3];
  speedDigits(car.current.velocity, digits);
  glColor3f(1.0f, 1.0f, 1.0f);
  for (int i = 0; i < 3; ++i) drawGlyph(20.0f + 5.0f * float(i), 50.0f, digits[i], kSpeedGlyphSize);
}

// A textured quad from (x0, y0) to (x1, y1) with u0..u1 left to right and the
// picture's top (v = 1) at y0.
// Wound counter-clockwise on the screen (the overlay's y grows downward), so
// back-face culling left on by the scene keeps it.
void picture(float x0, float y0, float x1, float y1, float u0, float u1) {
  glBegin(GL_QUADS);
  glTexCoord2f(u0, 1.0f);
  glVertex3f(x0, y0, 0.0f);
  glTexCoord2f(u0, 0.0f);
  glVertex3f(x0, y1, 0.0f);
  glTexCoord2f(u1, 0.0f);
  glVertex3f(x1, y1, 0.0f);
  glTexCoord2f(u1, 1.0f);
  glVertex3f(x1, y0, 0.0f);
  glEnd();
}

void enableTexturedBlending() {
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

}  // namespace

void drawInstruments(const GameState& state, const PhCar& car, unsigned int numbersTexture) {
  drawInstruments(state, car, numbersTexture, state.lapTime);
}

void drawInstruments(const GameState& state, const PhCar& car, unsigned int numbersTexture, float runningLap) {
  speedometer(car);
  revCounter(car);
  enableTexturedBlending();
  glBindTexture(GL_TEXTURE_2D, numbersTexture);
  lapTimes(state, runningLap);
  digitalSpeed(car);
}

void drawMenu(const GameState& state, unsigned int menuTexture, unsigned int infoTexture,
              unsigned int switchTexture, unsigned int numbersTexture) {
  enableTexturedBlending();
  // White shows the picture as it is, whatever colour the scene left current.
  glColor3f(1.0f, 1.0f, 1.0f);
  glBindTexture(GL_TEXTURE_2D, menuTexture);
  picture(0.0f, -5.0f, 60.0f, 55.0f, 0.0f, 1.0f);

  glBindTexture(GL_TEXTURE_2D, infoTexture);
  glColor3f(0.7f, 0.7f, 0.65f);
  picture(-15.0f, 25.0f, 30.0f, 60.0f, 0.0f, 1.0f);

  // Each switch shows the left half of its picture for 0 (on), the right for 1.
  glColor3f(1.0f, 1.0f, 1.0f);
  glBindTexture(GL_TEXTURE_2D, switchTexture);
  for (int n = 0; n < kMenuOptionCount; ++n) {
    float value = float(state.menuOptions[n]);
    float top = 18.0f + 7.0f * float(n);
    picture(52.0f, top, 59.0f, top + 7.0f, value * 0.5f, (value + 1.0f) * 0.5f);
  }

  glBindTexture(GL_TEXTURE_2D, numbersTexture);
  glColor3f(0.8f, 0.9f, 0.9f);
  for (int i = 0; i < kBestTimesPerClass; ++i) drawTime(65.0f, -7.0f + 3.0f * float(i), state.bestTimes.entries[i]);
  glColor3f(1.0f, 0.8f, 0.8f);
  for (int i = 0; i < kBestTimesPerClass; ++i)
    drawTime(65.0f, 10.0f + 3.0f * float(i), state.bestTimes.entries[kBestTimesPerClass + i]);

  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  float x = state.menuCursor < kMenuFirstOption ? 3.0f : 28.0f;
  float y = state.menuCursor < kMenuFirstOption ? 12.5f + 7.0f * float(state.menuCursor)
                                                 : 7.0f * float(state.menuCursor);
  glPointSize(15.0f);
  glColor3f(0.0f, 0.0f, 0.0f);
  glBegin(GL_POINTS);
  glVertex3f(x, y, 0.0f);
  glEnd();
  glPointSize(11.0f);
  glColor3f(1.0f, 1.0f, 1.0f);
  glBegin(GL_POINTS);
  glVertex3f(x, y, 0.0f);
  glEnd();
}
