#include "support/editor/DumpedTree.h"

#include "support/Wait.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace KR::TestSupport
{

namespace
{

std::string Unescaped(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] != '\\' || i + 1 == text.size())
        {
            out += text[i];
            continue;
        }
        switch (text[++i])
        {
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        default:
            out += text[i];
        }
    }
    return out;
}

void ReadField(const std::string& field, DumpedControl& control)
{
    const std::size_t equals = field.find('=');
    if (equals == std::string::npos)
    {
        return;
    }
    const std::string name = field.substr(0, equals);
    const std::string value = field.substr(equals + 1);
    if (name == "class")
    {
        control.className = value;
    }
    else if (name == "shown")
    {
        control.shown = value == "1";
    }
    else if (name == "frame")
    {
        std::sscanf(value.c_str(), "%d,%d,%d,%d", &control.x, &control.y, &control.width, &control.height);
    }
    else if (name == "value")
    {
        control.value = std::strtod(value.c_str(), nullptr);
    }
    else if (name == "text")
    {
        control.text = Unescaped(value);
    }
    else if (name == "selected")
    {
        control.selected = std::atoi(value.c_str());
    }
    else if (name == "items")
    {
        control.items = std::atoi(value.c_str());
    }
}

} // namespace

DumpedTree DumpedTree::Parse(const std::string& text)
{
    DumpedTree tree;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
    {
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos || tab == 0)
        {
            continue;
        }
        DumpedControl control;
        control.path = line.substr(0, tab);
        std::size_t start = tab + 1;
        while (start <= line.size())
        {
            const std::size_t end = std::min(line.find('\t', start), line.size());
            ReadField(line.substr(start, end - start), control);
            start = end + 1;
        }
        tree.controls.push_back(std::move(control));
    }
    return tree;
}

const DumpedControl* DumpedTree::Find(const std::string& path) const
{
    for (const DumpedControl& control : controls)
    {
        if (control.path == path)
        {
            return &control;
        }
    }
    return nullptr;
}

std::vector<const DumpedControl*> DumpedTree::Under(const std::string& prefix) const
{
    std::vector<const DumpedControl*> found;
    for (const DumpedControl& control : controls)
    {
        if (control.path.starts_with(prefix))
        {
            found.push_back(&control);
        }
    }
    return found;
}

DumpedTree RequestTreeDump(const EditorProcess& editor, const std::string& file, milliseconds limit)
{
    // The program renames a finished dump over the file, so once it is there it is whole.
    std::filesystem::remove(file);
    if (editor.Pid() <= 0 || ::kill(editor.Pid(), SIGUSR1) != 0)
    {
        return {};
    }
    if (!WaitUntil([&] { return std::filesystem::exists(file); }, limit))
    {
        return {};
    }
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return DumpedTree::Parse(text.str());
}

} // namespace KR::TestSupport
