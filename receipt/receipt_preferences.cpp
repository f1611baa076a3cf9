#include "receipt/receipt_preferences.h"

#include "core/text.h"
#include "settings/ini_file.h"

namespace receipt {
namespace {

constexpr std::string_view section = "EXTRATO";
constexpr std::string_view widthKey = "LARGURA";
constexpr std::string_view summarisedKey = "RESUMIDO";

} // namespace

ReceiptPreferences readReceiptPreferences(const std::string& iniPath) {
    ReceiptPreferences preferences;
    const auto width = settings::readProfileString(iniPath, section, widthKey);
    if (width && core::trimmed(*width) == "58")
        preferences.paper = Paper::mm58;
    const auto summarised = settings::readProfileString(iniPath, section, summarisedKey);
    preferences.summarised = summarised && core::trimmed(*summarised) == "1";
    return preferences;
}

bool writeReceiptPreferences(const std::string& iniPath, const ReceiptPreferences& preferences) {
    return settings::writeProfileString(iniPath, section, widthKey,
                                        preferences.paper == Paper::mm58 ? "58" : "80") &&
           settings::writeProfileString(iniPath, section, summarisedKey,
                                        preferences.summarised ? "1" : "0");
}

} // namespace receipt
