#include "emulator/sale/structure.h"

#include "emulator/sale/fiscal_ids.h"
#include "emulator/sale/xml.h"

#include <algorithm>
#include <climits>
#include <map>
#include <string_view>
#include <vector>

namespace emulator {
namespace {

// One position in a group's sequence: one of the listed names (blank-separated), between min
// and max times.
struct Slot {
    std::string_view names;
    int min = 1;
    int max = 1;
};

constexpr int many = INT_MAX;

using Groups = std::map<std::string_view, std::vector<Slot>>;

const Groups& saleGroups() {
    static const Groups table{
        {"CFe", {{"infCFe"}}},
        {"infCFe",
         {{"ide"},
          {"emit"},
          {"dest"},
          {"entrega", 0},
          {"det", 1, many},
          {"total"},
          {"pgto"},
          {"infAdic", 0}}},
        {"ide", {{"CNPJ"}, {"signAC"}, {"numeroCaixa"}}},
        {"emit", {{"CNPJ"}, {"IE"}, {"IM", 0}, {"cRegTribISSQN", 0}, {"indRatISSQN"}}},
        {"dest", {{"CNPJ CPF", 0}, {"xNome", 0}}},
        {"entrega", {{"xLgr"}, {"nro"}, {"xCpl", 0}, {"xBairro"}, {"xMun"}, {"UF"}}},
        {"det", {{"prod"}, {"imposto"}, {"infAdProd", 0}}},
        {"prod",
         {{"cProd"},
          {"cEAN", 0},
          {"xProd"},
          {"NCM", 0},
          {"CEST", 0},
          {"CFOP"},
          {"uCom"},
          {"qCom"},
          {"vUnCom"},
          {"indRegra"},
          {"vDesc", 0},
          {"vOutro", 0},
          {"obsFiscoDet", 0, 10}}},
        {"obsFiscoDet", {{"xTextoDet"}}},
        {"imposto",
         {{"vItem12741", 0}, {"ICMS ISSQN"}, {"PIS"}, {"PISST", 0}, {"COFINS"}, {"COFINSST", 0}}},
        {"ICMS", {{"ICMS00 ICMS40 ICMSSN102 ICMSSN900"}}},
        {"ICMS00", {{"Orig"}, {"CST"}, {"pICMS"}}},
        {"ICMS40", {{"Orig"}, {"CST"}}},
        {"ICMSSN102", {{"Orig"}, {"CSOSN"}}},
        {"ICMSSN900", {{"Orig"}, {"CSOSN"}, {"pICMS"}}},
        {"ISSQN",
         {{"vDeducISSQN"},
          {"vAliq"},
          {"cMunFG", 0},
          {"cListServ", 0},
          {"cServTribMun", 0},
          {"cNatOp"},
          {"indIncFisc"}}},
        {"PIS", {{"PISAliq PISQtde PISNT PISSN PISOutr"}}},
        {"PISAliq", {{"CST"}, {"vBC"}, {"pPIS"}}},
        {"PISQtde", {{"CST"}, {"qBCProd"}, {"vAliqProd"}}},
        {"PISNT", {{"CST"}}},
        {"PISSN", {{"CST"}}},
        {"PISOutr", {{"CST"}, {"vBC qBCProd"}, {"pPIS vAliqProd"}}},
        {"PISST", {{"vBC qBCProd"}, {"pPIS vAliqProd"}}},
        {"COFINS", {{"COFINSAliq COFINSQtde COFINSNT COFINSSN COFINSOutr"}}},
        {"COFINSAliq", {{"CST"}, {"vBC"}, {"pCOFINS"}}},
        {"COFINSQtde", {{"CST"}, {"qBCProd"}, {"vAliqProd"}}},
        {"COFINSNT", {{"CST"}}},
        {"COFINSSN", {{"CST"}}},
        {"COFINSOutr", {{"CST"}, {"vBC qBCProd"}, {"pCOFINS vAliqProd"}}},
        {"COFINSST", {{"vBC qBCProd"}, {"pCOFINS vAliqProd"}}},
        {"total", {{"DescAcrEntr", 0}, {"vCFeLei12741", 0}}},
        {"DescAcrEntr", {{"vDescSubtot vAcresSubtot"}}},
        {"pgto", {{"MP", 1, 10}}},
        {"MP", {{"cMP"}, {"vMP"}, {"cAdmC", 0}}},
        {"infAdic", {{"infCpl", 0}}},
    };
    return table;
}

const Groups& cancellationGroups() {
    static const Groups table{
        {"CFeCanc", {{"infCFe"}}},
        {"infCFe", {{"ide"}, {"emit"}, {"dest"}, {"total"}, {"infAdic", 0}}},
        {"ide", {{"CNPJ"}, {"signAC"}, {"numeroCaixa"}}},
        {"emit", {}},
        {"dest", {{"CNPJ CPF", 0}}},
        {"total", {}},
        {"infAdic", {{"infCpl", 0}}},
    };
    return table;
}

bool listed(std::string_view names, std::string_view name) {
    while (!names.empty()) {
        const auto blank = names.find(' ');
        if (names.substr(0, blank) == name)
            return true;
        names.remove_prefix(blank == std::string_view::npos ? names.size() : blank + 1);
    }
    return false;
}

std::string firstName(std::string_view names) {
    return std::string(names.substr(0, names.find(' ')));
}

// Whether an element of one of the names is among the children from `first` on.
bool appearsFrom(const std::vector<xmlNode*>& children, std::size_t first, std::string_view names) {
    for (std::size_t i = first; i < children.size(); ++i) {
        if (listed(names, nameOf(children[i])))
            return true;
    }
    return false;
}

bool knownIn(const std::vector<Slot>& slots, std::string_view name) {
    return std::any_of(slots.begin(), slots.end(),
                       [&](const Slot& slot) { return listed(slot.names, name); });
}

int itemOf(const xmlNode* det) {
    std::string number;
    if (!attribute(det, "nItem", number) || !isDigits(number) || number.size() > 6)
        return 0;
    return std::stoi(number);
}

bool check(const Groups& groups, const xmlNode* node, int item, StructureError& error) {
    const std::string_view name = nameOf(node);
    if (name == "det")
        item = itemOf(node);
    const std::vector<xmlNode*> children = childElements(node);
    const auto group = groups.find(name);
    if (group == groups.end()) {
        if (children.empty())
            return true;
        error = {StructureError::Kind::Unexpected, std::string(nameOf(children.front())),
                 std::string(name), item};
        return false;
    }
    std::size_t next = 0;
    for (const Slot& slot : group->second) {
        int count = 0;
        while (next < children.size() && count < slot.max &&
               listed(slot.names, nameOf(children[next]))) {
            if (!check(groups, children[next], item, error))
                return false;
            ++next;
            ++count;
        }
        if (count < slot.min) {
            // What stands in the mandatory element's place is the fault when that element
            // comes later or the intruder belongs nowhere in the group; else it is missing.
            const bool intruder =
                next < children.size() && (appearsFrom(children, next, slot.names) ||
                                           !knownIn(group->second, nameOf(children[next])));
            if (intruder)
                error = {StructureError::Kind::Unexpected, std::string(nameOf(children[next])),
                         std::string(name), item, firstName(slot.names)};
            else
                error = {StructureError::Kind::Missing, firstName(slot.names), std::string(name),
                         item};
            return false;
        }
    }
    if (next < children.size()) {
        error = {StructureError::Kind::Unexpected, std::string(nameOf(children[next])),
                 std::string(name), item};
        return false;
    }
    return true;
}

} // namespace

Rejection rejectionOf(const StructureError& error) {
    if (error.kind == StructureError::Kind::Missing) {
        for (const auto& [name, code] : {std::pair<std::string_view, int>{"cProd", 1459},
                                         {"xProd", 1461},
                                         {"uCom", 1463},
                                         {"IE", 1229}}) {
            if (error.element == name)
                return {code, error.item, {}};
        }
    }
    std::string detail =
        "Elemento " + error.element +
        (error.kind == StructureError::Kind::Missing ? " ausente em " : " não esperado em ") +
        error.parent;
    if (error.item > 0)
        detail += " do item " + std::to_string(error.item);
    if (!error.expected.empty())
        detail += "; esperado " + error.expected;
    return {1999, error.item, detail};
}

bool checkStructure(const xmlNode* root, DocumentKind kind, StructureError& error) {
    const bool sale = kind == DocumentKind::Sale;
    if (nameOf(root) != (sale ? "CFe" : "CFeCanc")) {
        error = {StructureError::Kind::Unexpected, std::string(nameOf(root)), "documento", 0};
        return false;
    }
    return check(sale ? saleGroups() : cancellationGroups(), root, 0, error);
}

} // namespace emulator
