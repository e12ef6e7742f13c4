#pragma once
// A drop-down list that shows one byte of a value block as its selected item. A byte no
// item stands for (a colour past the list, a key code of 86, a negative byte) leaves the
// list without a selection; the byte is kept and built back while the list stays so,
// never the low byte of -1: the preset-file writer and the preset dump refuse bytes of
// 0x80 and more, so one such build would make the whole preset unsavable and unsendable.
// A list never shown a byte builds from its selection as it stands.
//
//     ShownByteList key(keyList);
//     key.Show(block[15], block[15] == 87 ? 0 : block[15] + 1);
//     block[15] = key.Build([](std::int32_t item) { return item == 0 ? 87 : item - 1; });

#include "kr/controls/ComboBox.h"
#include "kr/core/RCPtr.h"

#include <cstdint>

class ShownByteList
{
public:
    using ItemToByte = std::int32_t (*)(std::int32_t item);

    ShownByteList() = default;
    explicit ShownByteList(const KR::RCPtr<KR::LComboBox>& list) : mList(list) {}

    const KR::RCPtr<KR::LComboBox>& GetList() const { return mList; }
    explicit operator bool() const { return static_cast<bool>(mList); }

    // Selects item `item` for the shown `byte`; without such an item the list is left
    // without a selection and an empty face, and keeps the byte. The selection's change is reported by the
    // list as usual (its handlers already see the kept byte).
    void Show(signed char byte, std::int32_t item);
    void Show(signed char byte) { Show(byte, byte); }

    // The byte of the selected item (the item itself without `toByte`), or the kept byte
    // while a shown byte left the list without a selection.
    signed char Build(ItemToByte toByte = nullptr) const;

private:
    KR::RCPtr<KR::LComboBox> mList;
    signed char mKept = 0;
    bool mKeeps = false;
};
