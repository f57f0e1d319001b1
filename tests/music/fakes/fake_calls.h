// What every fake plug-in shares: the log of its calls, which the test reads through the exported
// FakeCalls, and the entry points both module kinds have. Included by one source per fake module.
#pragma once

#include <string>

#include "plugins/plugin_api.h"

namespace {

std::string g_calls;

void Log(const std::string& call) { g_calls += call + ";"; }

void Config(HWND) { Log("Config"); }
void About(HWND) { Log("About"); }
void Init() { Log("Init"); }
void Quit() { Log("Quit"); }

}  // namespace

extern "C" PLUGIN_EXPORT const char* FakeCalls() { return g_calls.c_str(); }
