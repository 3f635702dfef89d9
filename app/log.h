#pragma once

// The diagnostic log, log.txt in the working folder. Every line is opened,
// appended and closed, so what was written survives a crash.

// Creates log.txt anew with "Log started" and switches logging on.
void openLog();

// Appends a line break and the printf-formatted message, when logging is on.
// A message longer than 1023 characters is cut.
void logLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

void setLogging(bool on);
bool loggingOn();
