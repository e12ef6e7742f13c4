#pragma once
// The framework's own texts (error boxes of the renderers, by key such as
// "GL_ERROR_CAPTION") from the string table the application reads from its skin. This
// library knows nothing of the application, so the application installs the source here;
// without one every key is empty and callers use their built-in English. UI thread.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace KR
{

// UTF-8 text of the key; empty when the table has none.
using FrameworkTextSource = std::function<std::string(std::string_view key)>;

// Installs the source; an empty one removes it.
void SetFrameworkTextSource(FrameworkTextSource source);
std::string GetFrameworkText(std::string_view key);

// The application's message box, for the renderers' error boxes, installed the same way:
// UTF-8 text and caption, the box style's bits.
using FrameworkMessageBox =
    std::function<void(const std::string& text, const std::string& caption, std::uint32_t style)>;
void SetFrameworkMessageBox(FrameworkMessageBox box);
// False, showing nothing, while none is installed.
bool ShowFrameworkMessageBox(const std::string& text, const std::string& caption, std::uint32_t style);

} // namespace KR
