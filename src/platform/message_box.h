// message_box.h: the one modal message the game can show; tests replace it with a recorder.
#pragma once

#include <functional>
#include <string>

namespace platform {

// Shows `text` with an OK button and returns when it is closed. Also written to stderr.
void MessageBox(const std::string& text);

using MessageBoxHandler = std::function<void(const std::string&)>;
// An empty handler puts the real message box back.
void SetMessageBoxHandler(MessageBoxHandler handler);

} // namespace platform
