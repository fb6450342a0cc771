#pragma once

#include <array>
#include <cstdint>

// One-byte machine type that picks the event texts of a display unit.
enum tCraneType : std::uint8_t {
    HydPT = 0,
    HydLC = 1,
    Latt = 2,
    TeleF = 3,
    PipeL = 4,
    FrntEnd = 5,
    WindSpd = 6,
    ExcaV = 7,
    HydUSB = 8,
};

// Working state of the display-unit link, kept by the main window.
struct LinkState {
    bool USBEnabled = false;        // value given to the HID link on Connect
    std::uint16_t CrnIDPos = 1026;  // display-unit address of the next crane ID characters
    std::uint16_t LogPos = 0;       // download position
    bool LogPage2 = false;          // download in progress
    std::array<std::uint8_t, 21> OutStr{}; // output report; bytes 7 to 20 stay zero
    tCraneType CrnType = HydPT;     // machine type used for event texts
    std::uint8_t ClrLogState = 0;   // clear-log handshake: 0 idle .. 3 confirmed
};
