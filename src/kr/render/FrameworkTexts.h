#pragma once
// The framework's own texts (error boxes of the renderers, by key such as
// "GL_ERROR_CAPTION") from the string table the application reads from its skin. This
// library knows nothing of the application, so the application installs the source here;
// without one every key is empty and callers use their built-in English. UI thread.

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

} // namespace KR
