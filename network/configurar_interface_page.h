#pragma once

#include "network/network_controls_page.h"
#include "ui/operation_page.h"

class QComboBox;
class QLineEdit;

namespace network {

// Page 1: the SAT's network interface, addressing and proxy.
class ConfigurarInterfacePage : public ui::OperationPage {
    Q_OBJECT
public:
    ConfigurarInterfacePage(const core::OperationDefinition& definition, ui::PageHost& host,
                            QWidget* parent = nullptr);

protected:
    core::Inputs inputs() const override;

private:
    void CbotipoLanChange();
    void cboProxyChange();

    QComboBox* tipoInter_ = nullptr;
    NetworkControls lan_;
    QLineEdit* codigo_ = nullptr;
};

} // namespace network
