#include "emulator/module/network.h"

#include "emulator/sale/xml.h"
#include "xml/xml_text.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <set>

namespace emulator {
namespace {

constexpr std::size_t maxConfigBytes = 64 * 1024;

constexpr std::string_view knownElements[] = {
    "tipoInter",  "tipoLan", "lanIP", "lanMask",  "lanGW",       "lanDNS1",    "lanDNS2",
    "usuario",    "senha",   "proxy", "proxy_ip", "proxy_porta", "proxy_user", "proxy_senha",
    "prioridade", "phone",   "APN",   "SSID",     "seg",         "codigo",
};

bool oneOf(const std::string& value, std::initializer_list<std::string_view> values) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

constexpr std::string_view lanTypes[] = {"DHCP", "IPFIX", "PPPoE"};

// The LAN type as the layout spells it, for a value written in any case ("PPPOE" is "PPPoE");
// other values unchanged, for the check to refuse. The configuration keeps the value as sent.
std::string spelledLanType(const std::string& value) {
    for (std::string_view type : lanTypes) {
        if (sameName(type, value))
            return std::string(type);
    }
    return value;
}

// The address as a 32-bit number, or nothing when it is not four dotted groups of at most
// three digits each up to 255.
std::optional<std::uint32_t> addressValue(std::string_view text) {
    std::uint32_t value = 0;
    for (int group = 0; group < 4; ++group) {
        const auto dot = group < 3 ? text.find('.') : text.size();
        if (dot == std::string_view::npos || dot == 0 || dot > 3)
            return std::nullopt;
        unsigned number = 0;
        for (char c : text.substr(0, dot)) {
            if (c < '0' || c > '9')
                return std::nullopt;
            number = number * 10 + static_cast<unsigned>(c - '0');
        }
        if (number > 255)
            return std::nullopt;
        value = value << 8 | number;
        text.remove_prefix(group < 3 ? dot + 1 : dot);
    }
    return value;
}

bool isMask(std::uint32_t mask) {
    return mask != 0 && (~mask & (~mask + 1)) == 0;
}

// Checks one document's values; returns what is out of pattern, or empty.
std::string checkConfig(const NetworkConfig& c) {
    const auto value = [&](const char* name) { return c.value(name); };
    const std::string lanType = spelledLanType(value("tipoLan"));
    if (!oneOf(value("tipoInter"), {"ETHE", "WIFI", "GPR1"}))
        return "tipoInter deve ser ETHE, WIFI ou GPR1";
    if (!oneOf(lanType, {"DHCP", "IPFIX", "PPPoE"}))
        return "tipoLan deve ser DHCP, IPFIX ou PPPoE";
    for (const char* name : {"lanIP", "lanMask", "lanGW", "lanDNS1", "lanDNS2"}) {
        const std::string text = value(name);
        if (!text.empty() && !addressValue(text))
            return std::string(name) + " fora do padrão: " + text;
    }
    if (lanType == "IPFIX") {
        const auto ip = addressValue(value("lanIP"));
        const auto mask = addressValue(value("lanMask"));
        const auto gateway = addressValue(value("lanGW"));
        if (!ip || !mask || !gateway)
            return "IPFIX exige lanIP, lanMask e lanGW";
        if (!isMask(*mask))
            return "lanMask não é uma máscara de rede";
        if ((*ip & *mask) != (*gateway & *mask) || *ip == *gateway)
            return "lanGW fora da rede de lanIP";
    }
    if (lanType == "PPPoE" && (value("usuario").empty() || value("senha").empty()))
        return "PPPoE exige usuario e senha";
    if (value("tipoInter") == "WIFI" && value("SSID").empty())
        return "WIFI exige SSID";
    if (value("tipoInter") == "GPR1" && value("APN").empty())
        return "GPR1 exige APN";
    if (!oneOf(value("proxy"), {"0", "1", "2"}))
        return "proxy deve ser 0, 1 ou 2";
    if (value("proxy") == "1") {
        const std::string port = value("proxy_porta");
        if (!addressValue(value("proxy_ip")))
            return "proxy_ip fora do padrão";
        if (port.empty() || port.size() > 5 ||
            !std::all_of(port.begin(), port.end(), [](char d) { return d >= '0' && d <= '9'; }) ||
            std::stoi(port) == 0 || std::stoi(port) > 65535)
            return "proxy_porta deve estar entre 1 e 65535";
    }
    if (const std::string priority = value("prioridade");
        !priority.empty() && !oneOf(priority, {"0", "1", "2", "3"}))
        return "prioridade deve estar entre 0 e 3";
    return {};
}

bool hasControl(const std::string& text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

std::string_view trimmedBlanks(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<NetworkConfig> readNetworkConfig(std::string_view document, std::string& error) {
    const ParsedXml parsed = parseUntrusted(document, maxConfigBytes);
    if (!parsed.doc) {
        error = parsed.error;
        return std::nullopt;
    }
    const xmlNode* root = xmlDocGetRootElement(parsed.doc.get());
    if (nameOf(root) != "config") {
        error = "elemento raiz deve ser config";
        return std::nullopt;
    }
    // Element names are compared without regard to case: clients write both "ssid" and "SSID".
    NetworkConfig config;
    for (const xmlNode* element : childElements(root)) {
        const std::string_view name = nameOf(element);
        if (std::none_of(std::begin(knownElements), std::end(knownElements),
                         [&](std::string_view known) { return sameName(known, name); })) {
            error = "elemento não esperado: " + std::string(name);
            return std::nullopt;
        }
        const bool repeated =
            std::any_of(config.fields.begin(), config.fields.end(),
                        [&](const auto& field) { return sameName(field.first, name); });
        if (repeated || !childElements(element).empty()) {
            error = "elemento repetido ou composto: " + std::string(name);
            return std::nullopt;
        }
        std::string text = textOf(element);
        if (hasControl(text)) {
            error = "caractere de controle em " + std::string(name);
            return std::nullopt;
        }
        config.fields.emplace_back(name, std::move(text));
    }
    error = checkConfig(config);
    if (!error.empty())
        return std::nullopt;
    return config;
}

std::optional<std::array<NetworkConfig, 4>> readNetworkSlots(std::string_view text,
                                                             std::string& error) {
    std::array<NetworkConfig, 4> slots;
    std::set<std::string> interfaces;
    std::set<std::string> priorities;
    bool any = false;
    for (std::size_t i = 0; i < slots.size(); ++i) {
        const auto bar = text.find('|');
        if ((i < 3) != (bar != std::string_view::npos)) {
            error = "a configuração deve ter quatro posições separadas por |";
            return std::nullopt;
        }
        const std::string_view slot = trimmedBlanks(text.substr(0, bar));
        text.remove_prefix(i < 3 ? bar + 1 : text.size());
        if (slot.empty())
            continue;
        auto config = readNetworkConfig(slot, error);
        if (!config) {
            error = "posição " + std::to_string(i + 1) + ": " + error;
            return std::nullopt;
        }
        const std::string priority = config->value("prioridade");
        if (!interfaces.insert(config->value("tipoInter")).second ||
            (!priority.empty() && !priorities.insert(priority).second)) {
            error = "interface ou prioridade repetida na posição " + std::to_string(i + 1);
            return std::nullopt;
        }
        slots[i] = std::move(*config);
        any = true;
    }
    if (!any) {
        error = "nenhuma configuração informada";
        return std::nullopt;
    }
    return slots;
}

std::string paddedAddress(std::string_view address) {
    const auto value = addressValue(address);
    if (!value)
        return std::string(address);
    char text[16];
    std::snprintf(text, sizeof text, "%03u.%03u.%03u.%03u", *value >> 24, *value >> 16 & 0xFF,
                  *value >> 8 & 0xFF, *value & 0xFF);
    return text;
}

std::string escapedConfig(const NetworkConfig& config) {
    std::string text = R"(<?xml version=\"1.0\" encoding=\"UTF-8\"?><config>)";
    for (const auto& [name, value] : config.fields) {
        text += "<" + name + ">";
        // Character data as XML writes it, then what the answer field needs besides.
        for (char c : xml::xmlText(value)) {
            if (c == '"')
                text += "\\\"";
            else if (c == '|')
                text += "&#124;";
            else if (c == '\\')
                text += "&#92;";
            else
                text += c;
        }
        text += "</" + name + ">";
    }
    return text + "</config>";
}

} // namespace emulator
