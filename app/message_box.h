#pragma once

// The icons the program's message boxes use; Plain is an OK box without one.
enum class MessageIcon { Warning, Information, Plain };

// Shows a modal message box. When STRAVO_BATCH=1 is set (unattended runs,
// tests) or no box can be shown, the caption and text go to stderr instead as
// "caption: text", so nothing ever waits for a click.
void showMessageBox(const char* text, const char* caption, MessageIcon icon);

// True when STRAVO_BATCH=1 is set.
bool batchMode();
