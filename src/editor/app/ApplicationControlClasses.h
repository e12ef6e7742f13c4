#pragma once
// The editor's control classes: every skin class name of the editor's half and what it
// creates, one row each, registered by the application's start-up after the framework's.
// 187 rows of 176 names (eleven are registered twice, with the same creator).
//
//     RegisterApplicationControlClasses(*factory);
//     factory->CreateControlByName(u"mainControl", rootWindow);

#include "kr/ui/ControlDescriptor.h"

#include <span>

namespace KR
{
class LControlFactory;
}

struct ApplicationControlClassRow
{
    const char16_t* name;
    KR::ControlCreateFunction create;
};

std::span<const ApplicationControlClassRow> GetApplicationControlClasses();

// Each row in order; the factory keeps the first creator of a name.
void RegisterApplicationControlClasses(KR::LControlFactory& factory);
