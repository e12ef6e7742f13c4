#pragma once
// One table of button mode records for the mode editor's tests and the read-out's: what
// each record puts on the editor, what the editor builds back from it, and what the
// picture prints for it.

#include "kr/core/Array.h"

#include <string>
#include <utility>
#include <vector>

namespace KR::TestSupport
{

using RecordBytes = std::vector<int>;

inline KR::Array<signed char> RecordOf(const RecordBytes& bytes)
{
    KR::Array<signed char> record;
    for (const int byte : bytes)
    {
        record.AddItem(static_cast<signed char>(byte));
    }
    return record;
}

inline RecordBytes BytesOf(const KR::Array<signed char>& record)
{
    RecordBytes bytes;
    for (std::uint32_t i = 0; i < record.GetCount(); ++i)
    {
        bytes.push_back(static_cast<unsigned char>(record[i]));
    }
    return bytes;
}

struct ButtonModeCase
{
    RecordBytes shown;
    RecordBytes repaired; // the caller's record after the show (empty: unchanged)
    RecordBytes built;    // what the editor builds back (empty: the repaired record)
    const char* tab;      // the text of the tab in front
    // Controls below the editor's page holder and what they show: a list its selected
    // item ("" none), a number box its number, a button its value ("1" / "0").
    std::vector<std::pair<std::string, std::string>> fields;
    const char* info;    // the read-out's text
    const char* channel; // the read-out's channel text
};

inline const std::vector<ButtonModeCase>& ButtonModeCases()
{
    static const std::vector<ButtonModeCase> cases = {
        {{0x00, 0x00, 0x07, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x7F},
         {},
         {},
         "CC ABSOLUTE",
         {{"ccAbsolutePage/cc/ccSelector/numericUpDown", "7"},
          {"ccCyclePage/cc/ccSelector/numericUpDown", "7"},
          {"ccIncDecPage/cc/ccSelector/numericUpDown", "7"},
          {"ccIncDecPage/cc/ccSelector/label", "Channel Volume"},
          {"ccAbsolutePage/pressedReleasedSelectors/pressed/numericUpDown", "127"},
          {"ccAbsolutePage/pressedReleasedSelectors/released/numericUpDown", "0"},
          {"otherPage/midiChannel/comboBox", "Global"}},
         "CC:\n7",
         "CH:G"},
        {{0x05, 0x01, 0x14, 0x3C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x7F},
         {},
         {},
         "NOTE",
         {{"notePage/note/noteSelector/numericUpDown", "60"},
          {"notePage/note/noteSelector/noteNameLabel", "C"},
          {"notePage/note/noteSelector/octaveNameLabel", "(4)"},
          {"notePage/latching/button", "1"},
          {"notePage/onOffSelectors/on/numericUpDown", "127"},
          {"notePage/onOffSelectors/off/numericUpDown", "0"},
          {"mmcPage/midiChannel/comboBox", "Channel 5"}},
         "NT:\n60",
         "CH:5"},
        {{0x00, 0x01, 0x1A, 0x0B, 0x00, 0x00, 0x05, 0x01, 0x00, 0x7F},
         {0x00, 0x01, 0x12, 0x0B, 0x00, 0x00, 0x05, 0x01, 0x00, 0x7F},
         {},
         "CC CYCLE",
         {{"ccCyclePage/cycleType/comboBox", "3 Values"},
          {"ccCyclePage/ccValue1/numericUpDown", "0"},
          {"ccCyclePage/ccValue2/numericUpDown", "5"},
          {"ccCyclePage/ccValue3/numericUpDown", "127"}},
         "CC:\n11",
         "CH:G"},
        {{0x00, 0x01, 0x1C, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x7F},
         {},
         {},
         "PROGRAM INC/DEC",
         {{"programIncDecPage/incDecType/comboBox", "Increment"},
          {"programIncDecPage/minMaxSelectors/max/numericUpDown", "127"}},
         "PG\nINC/DEC",
         "CH:G"},
        // Only a third value: a cycle of four, which builds both flags cleared.
        {{0x00, 0x01, 0x1C, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x7F},
         {0x00, 0x01, 0x1D, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x7F},
         {0x00, 0x01, 0x1D, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x7F},
         "PROGRAM CYCLE",
         {{"programCyclePage/cycleType/comboBox", "4 Values"},
          {"programCyclePage/program4/numericUpDown", "127"}},
         "PG\nCYCLE",
         "CH:G"},
        {{0x00, 0x01, 0x15, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00},
         {},
         {},
         "MMC",
         {{"mmcPage/mmc/comboBox", "Deferred Play"}},
         "PLAY",
         "CH:G"},
        // A command the list does not offer keeps its number while "Other" stays chosen.
        {{0x00, 0x01, 0x15, 0x00, 0x0C, 0x00, 0x00, 0x00, 0x00, 0x00},
         {},
         {},
         "MMC",
         {{"mmcPage/mmc/comboBox", "Other"}},
         "MMC",
         "CH:G"},
        {{0x00, 0x01, 0x15, 0x00, 0x0D, 0x00, 0x00, 0x00, 0x00, 0x00},
         {},
         {},
         "MMC",
         {{"mmcPage/mmc/comboBox", "MMC Reset"}},
         "RESET",
         "CH:G"},
        {{0x00, 0x01, 0x15, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00},
         {},
         {},
         "MMC",
         {{"mmcPage/mmc/comboBox", "Eject"}},
         "EJECT",
         "CH:G"},
        {{0x00, 0x01, 0x05, 0x05, 0x02, 0x00, 0x00, 0x00, 0x00, 0x01},
         {},
         {},
         "RPN/NRPN",
         {{"nrpnRpnPage/NrpnRpn/comboBox", "RPN Fine"},
          {"nrpnRpnPage/value/numericUpDown", "5"},
          {"nrpnRpnPage/msbLSBSelectors/lsb/numericUpDown", "2"},
          {"nrpnRpnPage/msbLSBSelectors/msb/numericUpDown", "1"}},
         "RPN:\n130",
         "CH:G"},
        {{0x00, 0x01, 0x06, 0x05, 0x02, 0x00, 0x00, 0x00, 0x00, 0x01},
         {},
         {},
         "RPN/NRPN",
         {{"nrpnRpnPage/NrpnRpn/comboBox", "NRPN Coarse"}},
         "NRPN:\n130",
         "CH:G"},
        {{0x00, 0x01, 0x10, 0x00, 0x40, 0x00, 0x00, 0x00, 0x00, 0x00},
         {},
         {},
         "OTHER",
         {{"otherPage/type/comboBox", "Pitch Bend"}, {"otherPage/value/numericUpDown", "64"}},
         "PITCH\nBEND",
         "CH:G"},
        {{0x00, 0x01, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
         {},
         {},
         "OTHER",
         {{"otherPage/type/comboBox", "Channel Pressure"}},
         "CH. AFT.",
         "CH:G"},
        {{0x00, 0x01, 0x16, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
         {},
         {},
         "OTHER",
         {{"otherPage/type/comboBox", "Reverb Type (Sysex)"}},
         "SYSEX",
         "CH:G"},
        {{0x00, 0x01, 0x17, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
         {},
         {},
         "OTHER",
         {{"otherPage/type/comboBox", "Reverb Time (Sysex)"}},
         "SYSEX",
         "CH:G"},
        {{0x00, 0x01, 0x18, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
         {},
         {},
         "OTHER",
         {{"otherPage/type/comboBox", "Chorus Type (Sysex)"}},
         "SYSEX",
         "CH:G"},
        // A code past the list: no item, and the code is built back as it came.
        {{0x00, 0x01, 0x1E, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
         {},
         {},
         "OTHER",
         {{"otherPage/type/comboBox", ""}},
         "SYSEX",
         "CH:G"},
        // A channel past the list: no item on any page, and the byte is built back.
        {{0x16, 0x01, 0x13, 0x3C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x7F},
         {},
         {},
         "NOTE",
         {{"notePage/midiChannel/comboBox", ""}, {"notePage/latching/button", "0"}},
         "NT:\n60",
         "CH:G"}, // 22 has no channel text: the one before stays
        // Kind 0 whatever byte 2 holds.
        {{0x03, 0x00, 0x15, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
         {},
         {},
         "CC ABSOLUTE",
         {{"ccAbsolutePage/cc/ccSelector/numericUpDown", "21"}},
         "CC:\n21",
         "CH:3"},
    };
    return cases;
}

} // namespace KR::TestSupport
