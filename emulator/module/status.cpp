// The operational status (23 fields) and the extended status of the MF-e (fields 5 to 57),
// drawn from the module's state: network, memory, documents, dates, certificate, blocking.
// A module waiting for its ICP-Brasil certificate answers them to its activation code, with the
// certificate's dates empty: the code is right, and calling it invalid would mislead.

#include "emulator/module/module.h"

#include "emulator/module/network.h"
#include "emulator/sale/fiscal_ids.h"

#include <cstdio>

namespace emulator {
namespace {

const std::string noKey(44, '0');

// Hardware identities a device carries from the factory, derived from its serial number so
// they stay the same for the life of the module.
struct Hardware {
    std::string mac;
    std::string iccid;
    std::string subscriber;
    std::string imei;
};

Hardware hardwareOf(const std::string& serial) {
    const unsigned long number = std::stoul(serial);
    char mac[24];
    std::snprintf(mac, sizeof mac, "00:1E:4C:%02lX:%02lX:%02lX", number >> 16 & 0xFF,
                  number >> 8 & 0xFF, number & 0xFF);
    Hardware h;
    h.mac = mac;
    h.iccid = "895510" + serial + "0000";
    h.iccid += luhnCheckDigit(h.iccid);
    h.subscriber = "55859" + serial.substr(1);
    h.imei = "35209900" + serial.substr(3);
    h.imei += luhnCheckDigit(h.imei);
    return h;
}

const NetworkConfig* configOf(const ModuleState& state, bool wired) {
    for (const NetworkConfig& config : state.network) {
        const std::string type = config.value("tipoInter");
        if (!config.fields.empty() && (type == "GPR1") != wired)
            return &config;
    }
    return nullptr;
}

std::string carrierOf(const std::string& apn) {
    for (const auto& [domain, name] : {std::pair<const char*, const char*>{"vivo", "VIVO"},
                                       {"claro", "CLARO"},
                                       {"tim", "TIM"},
                                       {"oi", "OI"}}) {
        if (apn.find(domain) != std::string::npos)
            return name;
    }
    return apn;
}

// The channel in use: the interface whose configuration has priority 0, else the first
// configured one, else the wired network.
std::string channelOf(const ModuleState& state) {
    for (const NetworkConfig& config : state.network) {
        if (config.value("prioridade") == "0")
            return config.value("tipoInter");
    }
    for (const NetworkConfig& config : state.network) {
        if (!config.fields.empty())
            return config.value("tipoInter");
    }
    return "ETHE";
}

std::string memoryUsed(std::uint64_t bytes) {
    constexpr std::uint64_t mb = 1024 * 1024;
    return std::to_string((bytes + mb - 1) / mb) + " MB";
}

} // namespace

std::vector<std::string> Module::statusFields() const {
    const Hardware hardware = hardwareOf(state_.serial);
    const NetworkConfig* lan = configOf(state_, true);
    const std::string lanType = lan ? lan->value("tipoLan") : "DHCP";
    // A fixed address comes from the configuration; otherwise the lease a DHCP server gave.
    const bool fixed = sameName(lanType, "IPFIX");
    const auto address = [&](const char* name, const char* leased) {
        return fixed ? paddedAddress(lan->value(name)) : std::string(leased);
    };
    char leasedIp[16];
    std::snprintf(leasedIp, sizeof leasedIp, "192.168.000.%03lu",
                  100 + std::stoul(state_.serial) % 100);
    return {
        state_.serial,
        lanType,
        fixed ? paddedAddress(lan->value("lanIP")) : std::string(leasedIp),
        hardware.mac,
        address("lanMask", "255.255.255.000"),
        address("lanGW", "192.168.000.001"),
        address("lanDNS1", "192.168.000.001"),
        address("lanDNS2", "008.008.008.008"),
        "CONECTADO",
        "ALTO",
        "4 GB",
        memoryUsed(state_.storedBytes),
        stampOf(now_),
        state_.softwareVersion,
        "0" + state_.layout, // VER_LAYOUT, "00.08" for 0.08
        state_.lastKey.empty() ? noKey : state_.lastKey,
        state_.firstKey.empty() ? noKey : state_.firstKey,
        state_.lastKey.empty() ? noKey : state_.lastKey,
        state_.lastTransmission,
        state_.lastCommunication,
        state_.certificateIssued,
        state_.certificateExpires,
        std::to_string(state_.operationState),
    };
}

Answer Module::consultarStatusOperacional(int sessao, std::string_view codigo) {
    if (auto refused = refuseCode(Op::ConsultarStatusOperacional, sessao, codigo, true))
        return *refused;
    AnswerBuilder answer(sessao, "10000");
    answer.add(standardMessage("10000")).add("").add("");
    for (const std::string& field : statusFields())
        answer.add(field);
    return answer.done();
}

Answer Module::consultarStatusOperacionalMFE(int sessao, std::string_view codigo) {
    if (auto refused = refuseCode(Op::ConsultarStatusOperacionalMFE, sessao, codigo, true))
        return *refused;
    const Hardware hardware = hardwareOf(state_.serial);
    const NetworkConfig* mobile = configOf(state_, false);
    const std::string now = stampOf(now_);

    AnswerBuilder answer(sessao, "10000");
    answer.add(standardMessage("10000")).add("").add("");
    for (const std::string& field : statusFields()) // 5 to 27
        answer.add(field);
    answer
        .add("2")                                      // 28 environment: tests
        .add(std::to_string(state_.taxpayer.cUF))      // 29 UF
        .add("3")                                      // 30 external battery: high
        .add("1")                                      // 31 power: external source
        .add(channelOf(state_));                       // 32 channel in use
    for (const NetworkConfig& config : state_.network) // 33 to 36
        answer.add(config.fields.empty() ? "NA" : escapedConfig(config));
    answer
        .add(mobile ? carrierOf(mobile->value("APN")) : "NA") // 37 carrier
        .add(mobile ? "4G" : "NA")                            // 38 technology
        .add(hardware.iccid)                                  // 39 SIM 1
        .add(hardware.subscriber)                             // 40
        .add("")                                              // 41 SIM 2: none
        .add("")                                              // 42
        .add("00000000000000")                                // 43 no violation
        .add("00000000000000")                                // 44 no impact
        .add(hardware.mac)                                    // 45 Ethernet MAC
        .add("00:00:00:00:00:00")                             // 46 no WiFi
        .add(hardware.imei)                                   // 47 modem IMEI
        .add("-3.731862,-38.526669")                          // 48 GPS position
        .add(now)                                             // 49
        .add("5")                                             // 50 GPS error (m)
        .add("-3.732100,-38.527000")                          // 51 LBS position
        .add(now)                                             // 52
        .add("150")                                           // 53 LBS error (m)
        .add("8")                                             // 54 satellites
        .add(mobile ? "-71 dBm" : "NA")                       // 55 signal
        .add("0")                                             // 56 WiFi networks
        .add("0")                                             // 57 pending coupons
        .add("");                                             // final "|"
    return answer.done();
}

} // namespace emulator
