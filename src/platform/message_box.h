// message_box.h: the one modal message the game can show; tests replace it with a recorder.
#pragma once

#include <functional>
#include <string>

namespace platform {

// Shows `text` with an OK button and returns when it is closed. Also written to stderr.
void MessageBox(const std::string& text);

// What tests show message boxes with instead (services.h).
using MessageBoxHandler = std::function<void(const std::string&)>;

// The program started with this argument and a text only shows that text in a box: the game
// runs its boxes so, in a helper process of its own.
inline constexpr const char* kMessageBoxHelperArgument = "--message-box";
[[nodiscard]] int RunMessageBoxHelper(const char* text);

} // namespace platform
