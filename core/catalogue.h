#pragma once
// The sixteen module operations and every fixed fact about them: page, button, parameters,
// Integrador method, request file prefix, wait limit and busy answer. Nothing else in the
// program repeats these facts; everything reads them from here.

#include <array>
#include <chrono>
#include <span>
#include <string_view>

namespace core {

enum class ParamType { Int, Text };

// A parameter of the library function, in the order the function takes it.
struct Param {
    std::string_view name;
    ParamType type;
};

// A parameter of the Integrador request document, in the order the document lists it.
struct IntegradorParam {
    std::string_view name;        // <Nome>
    std::string_view typeComment; // "int" or "string"
    int argument;                 // index into the library arguments; -1 for a constant
    std::string_view constant;    // the value when argument is -1 (nrDocumento is "01")
    bool cdata;                   // document parameters travel inside CDATA
    std::string_view placeholder; // the word the template shows in place of the value
};

struct Operation {
    int page;
    std::string_view name;   // exported function, button caption and page title
    std::string_view button; // objectName of the operation button
    std::string_view integradorMethod;
    std::string_view filePrefix; // request file name = prefix + identifier + ".xml"
    std::chrono::milliseconds waitLimit;
    std::string_view busyCode;
    bool busyHasZeroField;        // busy answer carries "0000|" (sale and cancellation)
    std::string_view successCode; // code whose answer gets a report; empty when no report
    bool statusIndentation;       // the status queries' indentation variant of the request
    std::span<const Param> params;
    std::span<const IntegradorParam> integradorParams;
};

inline constexpr int welcomePage = 14;
inline constexpr int pageCount = 17;

// Operations in page order (page 14, the welcome page, has none).
std::span<const Operation> catalogue();

// Operations in the order of the left panel's buttons.
std::span<const Operation* const> panelOrder();

// Operations in the order the library's entry points are resolved.
std::span<const std::string_view> entryPointOrder();

const Operation* operationByPage(int page);
const Operation* operationByName(std::string_view name);
const Operation* operationByIntegradorMethod(std::string_view method);

} // namespace core
