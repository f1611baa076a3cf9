#pragma once

#include "network/network_controls_page.h"
#include "ui/operation_page.h"

#include <array>

class QLineEdit;
class QRadioButton;

namespace network {

struct CarrierPreset;

// Page 16: the MF-e's ETHERNET and 3G/GPRS networks, their priority and the carrier's data.
class ConfigurarInterfaceMfePage : public ui::OperationPage {
    Q_OBJECT
public:
    ConfigurarInterfaceMfePage(const core::OperationDefinition& definition, ui::PageHost& host,
                               QWidget* parent = nullptr);

protected:
    core::Inputs inputs() const override;

private:
    // One network's sub-tab: its addressing beside its proxy.
    QWidget* buildNetwork(const char* sheetName, const char* title, const char* interfaceName,
                          NetworkControls& network);
    QWidget* buildPriority();
    QWidget* buildCarrier();
    // A carrier button writes its preset into the four carrier edits; "NENHUMA" empties them.
    void writeCarrier(const CarrierPreset* preset);

    void CboMFERede1Change();
    void CboMFERede2Change();
    void CboMFEProxy1Change();
    void CboMFEProxy2Change();

    NetworkControls ethernet_;
    NetworkControls mobile_;
    std::array<QLineEdit*, 4> carrier_{}; // usuário, senha, phone, APN
    std::array<QRadioButton*, 2> priority_{};
    QLineEdit* codigo_ = nullptr;
};

} // namespace network
