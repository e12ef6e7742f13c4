#pragma once
// KR::LGLDisplayList: a range of GL display lists, reserved on the first BeginList and
// deleted with the object. The renderer compiles cacheable geometry into ranges of one.

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/Types.h"

#include <cstdint>

namespace KR
{

class LGLDisplayList : public virtual LRefCountedObject
{
public:
    static constexpr std::uint32_t kNoList = 0xFFFFFFFFu;

    // Null for a count of 0.
    static RCPtr<LGLDisplayList> Create(std::uint32_t count);

    explicit LGLDisplayList(std::uint32_t count) : mCount(count) {}
    ~LGLDisplayList() override;
    LGLDisplayList(const LGLDisplayList&) = delete;
    LGLDisplayList& operator=(const LGLDisplayList&) = delete;

    // Starts compiling list `index`; kFail when no list could be reserved.
    Result BeginList(std::uint32_t index);
    void EndList();
    // Calls lists first .. first + number - 1; kInvalidArg past the count (nothing called),
    // kFail at the first list that is not valid.
    Result CallLists(std::uint32_t first, std::uint32_t number);

    std::uint32_t GetFirstList() const { return mFirst; }
    std::uint32_t GetCount() const { return mCount; }

private:
    std::uint32_t mFirst = kNoList;
    std::uint32_t mCount;
};

} // namespace KR
