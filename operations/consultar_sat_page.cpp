#include "operations/consultar_sat_page.h"

#include "operations/consultar_sat.h"

namespace operations {

ConsultarSatPage::ConsultarSatPage(ui::PageHost& host, QWidget* parent)
    : ui::OperationPage(*core::operationByPage(0), host, parent) {}

ui::OperationPage::Call ConsultarSatPage::prepareCall(const std::string& sessionNumber) {
    return consultarSatCall(sessionNumber);
}

} // namespace operations
