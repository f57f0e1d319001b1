#pragma once

// The dispatcher's way up to the commands that higher layers register: a number
// that is not one of its built-ins goes to the fallback, when one is installed.
using CommandFallback = bool (*)(unsigned short id);

// Installs (nullptr: removes) the fallback of AppMenuExecuteItem.
void SetCommandFallback(CommandFallback fallback);

// Hands `id` to the installed fallback; false when there is none or it ran nothing.
bool RunCommandFallback(unsigned short id);
