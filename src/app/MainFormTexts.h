#pragma once

namespace dv {
// Texts of the main window and the splash that several forms share.
inline constexpr const char *kMainCaption = "Zuduriziv Izev Erediz";
inline constexpr const char *kProductLine = "Videdorov Izarir";
inline constexpr const char *kBrandWord = "OKAVEN";
inline constexpr const char *kReleaseYears = "2014 - 2026";
inline constexpr const char *kApplicationTitle = "Dorvanel";
inline constexpr const char *kAlreadyRunning = "Program already running";
inline constexpr const char *kAlreadyRunningCaption = "Vizoz Ezoz Ozador";
} // namespace dv
