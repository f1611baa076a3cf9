#include "core/consultar_sat_page.h"

#include "core/consultar_sat.h"

namespace core {

ConsultarSatPage::ConsultarSatPage(PageHost& host, QWidget* parent)
    : OperationPage(*operationByPage(0), host, parent) {}

OperationPage::Call ConsultarSatPage::prepareCall(const std::string& sessionNumber) {
    return consultarSatCall(sessionNumber);
}

} // namespace core
