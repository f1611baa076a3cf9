#include "network/configurar_interface_page.h"

#include "network/configurar_interface.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace network {

ConfigurarInterfacePage::ConfigurarInterfacePage(const core::OperationDefinition& definition,
                                                 ui::PageHost& host, QWidget* parent)
    : ui::OperationPage(definition, host, parent) {
    lan_ =
        makeNetworkControls({"CbotipoLan",
                             {"EdtlanIP", "EdtlanMask", "EdtlanGW", "EdtlanDNS1", "EdtlanDNS2"},
                             "cboProxy",
                             {"Edtproxy_ip", "Edtproxy_porta", "Edtproxy_user", "Edtproxy_senha"}});
    lan_.addressing->setEditable(true);
    lan_.addressing->setInsertPolicy(QComboBox::NoInsert);
    tipoInter_ = new QComboBox;
    tipoInter_->setObjectName("CbotipoInter");
    tipoInter_->setEditable(true);
    tipoInter_->setInsertPolicy(QComboBox::NoInsert);
    tipoInter_->addItem("ETHERNET");
    tipoInter_->setFocusPolicy(Qt::ClickFocus); // skipped by the tab key
    for (QLineEdit* edit : lan_.addresses)
        edit->setMaxLength(15);
    const int proxyLengths[] = {15, 5, 64, 64};
    for (std::size_t i = 0; i < lan_.proxyDetails.size(); ++i)
        lan_.proxyDetails[i]->setMaxLength(proxyLengths[i]);
    codigo_ = namedEdit("LblEdtCodRede");
    codigo_->setMaxLength(32);

    auto* layout = new QVBoxLayout(parametersPanel());
    layout->setContentsMargins(0, 0, 0, 0);
    auto* columns = new QHBoxLayout;
    auto* left = new QFormLayout;
    left->addRow("Interface:", lan_.addressing);
    left->addRow("Tipo de Rede:", tipoInter_);
    const char* addressLabels[] = {
        "IP:", "Mascara de Rede:", "Gateway:", "DNS Primário:", "DNS Secundário:"};
    for (std::size_t i = 0; i < lan_.addresses.size(); ++i)
        left->addRow(addressLabels[i], lan_.addresses[i]);
    auto* right = new QFormLayout;
    right->addRow("Proxy:", lan_.proxy);
    const char* proxyLabels[] = {
        "IP do Proxy:", "Porta do Proxy:", "Usuário do Proxy:", "Senha do Proxy:"};
    for (std::size_t i = 0; i < lan_.proxyDetails.size(); ++i)
        right->addRow(proxyLabels[i], lan_.proxyDetails[i]);
    columns->addLayout(left);
    columns->addLayout(right);
    // The code under both columns, wide enough for its 32 characters.
    auto* codeForm = new QFormLayout;
    codeForm->addRow("Código de Ativação:", codigo_);
    layout->addLayout(columns);
    layout->addLayout(codeForm);

    // Selection and typing both change the text, from the user or from code.
    connect(lan_.addressing, &QComboBox::currentTextChanged, this,
            &ConfigurarInterfacePage::CbotipoLanChange);
    connect(lan_.proxy, &QComboBox::currentIndexChanged, this,
            &ConfigurarInterfacePage::cboProxyChange);
    CbotipoLanChange();
    cboProxyChange();
}

void ConfigurarInterfacePage::CbotipoLanChange() {
    lan_.followAddressing();
}

void ConfigurarInterfacePage::cboProxyChange() {
    lan_.followProxy();
}

core::Inputs ConfigurarInterfacePage::inputs() const {
    core::Inputs in;
    in.set(core::codigoField.key, textOf(codigo_));
    in.set(tipoInterField.key, tipoInter_->currentText().toStdString());
    lan_.copyInto(in, ethernetFields);
    return in;
}

} // namespace network
