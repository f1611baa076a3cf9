#include "cli/command_line.h"

#include <algorithm>

namespace cli {
namespace {

bool isOption(std::string_view arg) {
    return arg.size() > 1 && arg.front() == '-';
}

const Option* find(std::span<const Option* const> options, std::string_view name) {
    const auto it = std::find_if(options.begin(), options.end(),
                                 [name](const Option* o) { return o->name == name; });
    return it == options.end() ? nullptr : *it;
}

std::string names(std::span<const Option* const> options) {
    std::string text;
    for (const Option* option : options)
        text += (text.empty() ? "" : ", ") + std::string(option->name);
    return text;
}

} // namespace

CommandLine::CommandLine(std::span<const std::string> args,
                         std::span<const Option* const> options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!isOption(arg)) {
            words_.push_back(arg);
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const Option* option = find(options, name);
        if (!option)
            throw UsageError("opção desconhecida: " + name + " (aceitas: " + names(options) + ")");
        if (values_.count(name))
            throw UsageError("opção repetida: " + name);
        std::string value;
        if (option->value.empty()) {
            if (equals != std::string::npos)
                throw UsageError("a opção " + name + " não leva valor");
        } else if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            throw UsageError("falta o valor da opção " + name + " " + std::string(option->value));
        }
        values_.emplace(name, std::move(value));
    }
}

bool CommandLine::has(std::string_view name) const {
    return values_.find(name) != values_.end();
}

std::optional<std::string> CommandLine::value(std::string_view name) const {
    const auto it = values_.find(name);
    return it == values_.end() ? std::nullopt : std::optional(it->second);
}

std::optional<std::string> commandWord(std::span<const std::string> args,
                                       std::span<const Option* const> valued) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!isOption(arg))
            return arg;
        const Option* option = find(valued, arg);
        if (option && !option->value.empty())
            ++i; // its value
    }
    return std::nullopt;
}

} // namespace cli
