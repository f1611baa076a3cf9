#include "emulator/sale/cancellation.h"

#include "emulator/sale/fiscal_ids.h"
#include "emulator/sale/structure.h"
#include "emulator/sale/xml.h"

namespace emulator {

std::variant<CancellationRequest, Rejection> readCancellationRequest(const xmlDoc* doc,
                                                                     std::string_view layout) {
    const xmlNode* root = xmlDocGetRootElement(doc);
    StructureError structure;
    if (!checkStructure(root, DocumentKind::Cancellation, structure))
        return rejectionOf(structure);
    const xmlNode* infCFe = child(root, "infCFe");
    const xmlNode* ide = child(infCFe, "ide");
    const xmlNode* dest = child(infCFe, "dest");
    // From layout 0.07 the request's dest is empty: the customer is the one of the sale.
    if (const auto customer = childElements(dest); layout != "0.06" && !customer.empty())
        return rejectionOf(
            {StructureError::Kind::Unexpected, std::string(nameOf(customer.front())), "dest", 0});

    CancellationRequest request;
    attribute(infCFe, "chCanc", request.key);
    if (request.key.size() != 47 || request.key.compare(0, 3, "CFe") != 0 ||
        !isDigits(request.key.substr(3)))
        return Rejection{1999, 0, "chCanc fora do padrão: " + request.key};
    request.softwareHouseCnpj = childText(ide, "CNPJ");
    if (!isCnpj(request.softwareHouseCnpj))
        return Rejection{1224};
    request.signAC = childText(ide, "signAC");
    if (request.signAC.empty() || request.signAC.size() > 344)
        return Rejection{1455};
    request.cashRegister = childText(ide, "numeroCaixa");
    if (request.cashRegister.size() != 3 || !isDigits(request.cashRegister))
        return Rejection{1999, 0, "numeroCaixa fora do padrão"};
    if (child(dest, "CNPJ") && !isCnpj(childText(dest, "CNPJ")))
        return Rejection{1235};
    if (child(dest, "CPF") && !isCpf(childText(dest, "CPF")))
        return Rejection{1237};
    return request;
}

} // namespace emulator
