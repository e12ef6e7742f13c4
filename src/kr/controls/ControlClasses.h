#pragma once
// The framework's control classes by their skin names: one row per name, in the order
// the application's start-up registers them, each with the line its failure text names.
// Several names may make one class. Tests register the table into their own factory.

#include "kr/core/Types.h"
#include "kr/ui/ControlDescriptor.h"

#include <cstdint>
#include <span>

namespace KR
{

class LControlFactory;

struct ControlClassRow
{
    const char16_t* name;
    ControlCreateFunction create;
    std::int32_t line;
};

// The rows of the classes built so far.
std::span<const ControlClassRow> GetFrameworkControlClasses();

// Registers every row in order. A refused row throws the failed-result exception naming
// its line; the rows before it stay registered.
void RegisterFrameworkControlClasses(LControlFactory& factory);

} // namespace KR
