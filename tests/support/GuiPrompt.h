#pragma once

#include "support/FakePrompt.h"

// GUI tests: the prompt that answers every message box and file dialog of the window layer. It is
// emptied before each test. A message's busyDepth counts the wait cursors in force while it was up.
FakePrompt& guiPrompt();
