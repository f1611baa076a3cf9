#include "cli/operation_entries.h"

#include "core/path_text.h"
#include "core/whole_file.h"
#include "registry/definitions.h"

#include <algorithm>
#include <cctype>

namespace cli {
namespace {

// A file given for a field holds a typed value (a signature, a code), never a large document.
constexpr std::size_t fileOptionLimit = 1 << 20;

std::vector<OperationEntry> makeEntries() {
    std::vector<OperationEntry> entries;
    for (const core::OperationDefinition& definition : registry::definitions()) {
        OperationEntry entry{definition.operation, definition, {}};
        for (const core::InputField& field : definition.fields)
            entry.options.push_back(
                {field.option, field.kind == core::InputField::Kind::Switch ? "" : field.valueName,
                 field.help});
        entries.push_back(std::move(entry));
    }
    return entries;
}

const std::vector<OperationEntry>& entries() {
    static const std::vector<OperationEntry> all = makeEntries();
    return all;
}

bool sameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

std::vector<const Option*> OperationEntry::optionList() const {
    std::vector<const Option*> list;
    for (const Option& option : options)
        list.push_back(&option);
    return list;
}

const OperationEntry* entryNamed(std::string_view name) {
    const auto& all = entries();
    const auto it = std::find_if(all.begin(), all.end(), [name](const OperationEntry& e) {
        return sameName(e.operation.name, name);
    });
    return it == all.end() ? nullptr : &*it;
}

core::Inputs inputsFrom(const OperationEntry& entry, const CommandLine& line) {
    core::Inputs inputs;
    for (const core::InputField& field : entry.definition.fields) {
        switch (field.kind) {
        case core::InputField::Kind::Text:
            // An option left out is not given: the logic may stand a default for it.
            if (auto text = line.value(field.option))
                inputs.set(field.key, std::move(*text));
            break;
        case core::InputField::Kind::Switch:
            if (line.has(field.option))
                inputs.set(field.key, "1");
            break;
        case core::InputField::Kind::FileContents:
            if (const auto path = line.value(field.option)) {
                std::string error;
                auto bytes =
                    core::readFileWithin(core::pathFromUtf8(*path), fileOptionLimit, error);
                if (!bytes)
                    throw UsageError("não foi possível ler " + *path + ": " + error);
                inputs.set(field.key, std::move(*bytes));
            }
            break;
        }
    }
    return inputs;
}

} // namespace cli
