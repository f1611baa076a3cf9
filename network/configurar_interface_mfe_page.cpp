#include "network/configurar_interface_mfe_page.h"

#include "network/configurar_interface_mfe.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace network {

ConfigurarInterfaceMfePage::ConfigurarInterfaceMfePage(const core::OperationDefinition& definition,
                                                       ui::PageHost& host, QWidget* parent)
    : ui::OperationPage(definition, host, parent) {
    ethernet_ = makeNetworkControls(
        {"CboMFERede1",
         {"EdtMFEIP1", "EdtMFEMask1", "EdtMFEGW1", "EdtMFEDNS11", "EdtMFEDNS21"},
         "CboMFEProxy1",
         {"EdtMFEProxyIP1", "EdtMFEProxyPorta1", "EdtMFEProxyUser1", "EdtMFEProxySenha1"}});
    mobile_ = makeNetworkControls(
        {"CboMFERede2",
         {"EdtMFEIP2", "EdtMFEMask2", "EdtMFEGW2", "EdtMFEDNS12", "EdtMFEDNS22"},
         "CboMFEProxy2",
         {"EdtMFEProxyIP2", "EdtMFEProxyPorta2", "EdtMFEProxyUser2", "EdtMFEProxySenha2"}});
    // The mobile network is configured by DHCP and without proxy.
    mobile_.addressing->setEnabled(false);
    mobile_.proxy->setEnabled(false);

    auto* columns = new QHBoxLayout(parametersPanel());
    columns->addWidget(buildSection("ETHERNET", "EdtMFEInter1", ethernet_));
    auto* mobileSection = buildSection("3G/GPRS", "EdtMFEInter2", mobile_);
    auto* carrierForm = static_cast<QFormLayout*>(mobileSection->layout());
    const char* carrierNames[] = {"EdtMFEUsuario", "EdtMFESenha", "EdtMFEPhone", "EdtMFEAPN"};
    const char* carrierLabels[] = {"Usuário:", "Senha:", "Phone:", "APN:"};
    for (std::size_t i = 0; i < carrier_.size(); ++i) {
        carrier_[i] = namedEdit(carrierNames[i]);
        carrierForm->addRow(carrierLabels[i], carrier_[i]);
    }
    columns->addWidget(mobileSection);
    columns->addWidget(buildRightColumn());

    connect(ethernet_.addressing, &QComboBox::currentIndexChanged, this,
            &ConfigurarInterfaceMfePage::CboMFERede1Change);
    connect(mobile_.addressing, &QComboBox::currentIndexChanged, this,
            &ConfigurarInterfaceMfePage::CboMFERede2Change);
    connect(ethernet_.proxy, &QComboBox::currentIndexChanged, this,
            &ConfigurarInterfaceMfePage::CboMFEProxy1Change);
    connect(mobile_.proxy, &QComboBox::currentIndexChanged, this,
            &ConfigurarInterfaceMfePage::CboMFEProxy2Change);
    // Every address and proxy edit starts enabled; the combos' handlers set them once used.
}

QWidget* ConfigurarInterfaceMfePage::buildSection(const char* title, const char* interfaceName,
                                                  NetworkControls& network) {
    auto* box = new QGroupBox(title);
    auto* form = new QFormLayout(box);
    auto* interface = namedEdit(interfaceName);
    interface->setText(title);
    interface->setReadOnly(true);
    form->addRow("Interface:", interface);
    form->addRow("Rede:", network.addressing);
    form->addRow("Proxy:", network.proxy);
    const char* addressLabels[] = {"IP:", "Mascara:", "Gateway:", "DNS1:", "DNS2:"};
    for (std::size_t i = 0; i < network.addresses.size(); ++i)
        form->addRow(addressLabels[i], network.addresses[i]);
    const char* proxyLabels[] = {
        "IP do Proxy:", "Porta do Proxy:", "Usuário do Proxy:", "Senha do Proxy:"};
    for (std::size_t i = 0; i < network.proxyDetails.size(); ++i)
        form->addRow(proxyLabels[i], network.proxyDetails[i]);
    network.proxyDetails[3]->setEchoMode(QLineEdit::Password);
    return box;
}

QWidget* ConfigurarInterfaceMfePage::buildRightColumn() {
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    auto* priority = new QGroupBox("Prioridade");
    priority->setObjectName("CboPrio");
    auto* priorityLayout = new QVBoxLayout(priority);
    auto* group = new QButtonGroup(priority);
    const char* priorityItems[] = {"1º ETHERNET -  2º 3G/GPRS", "1º 3G/GPRS    -  2º ETHERNET "};
    for (std::size_t i = 0; i < priority_.size(); ++i) {
        priority_[i] = new QRadioButton(priorityItems[i]);
        priority_[i]->setObjectName(QString("CboPrio_%1").arg(i));
        group->addButton(priority_[i]);
        priorityLayout->addWidget(priority_[i]);
    }
    priority_[0]->setChecked(true);
    layout->addWidget(priority);

    layout->addWidget(new QLabel("Principais Operadoras"));
    auto* none = new QPushButton("NENHUMA");
    none->setObjectName("BitNenhum");
    connect(none, &QPushButton::clicked, this, [this] { writeCarrier(nullptr); });
    layout->addWidget(none);
    for (const CarrierPreset& preset : carrierPresets) {
        auto* button = new QPushButton(QString::fromUtf8(preset.name));
        button->setObjectName("Bit" + QString::fromUtf8(preset.name));
        connect(button, &QPushButton::clicked, this, [this, &preset] { writeCarrier(&preset); });
        layout->addWidget(button);
    }

    codigo_ = namedEdit("LblEdtMFECodRede");
    codigo_->setEchoMode(QLineEdit::Password);
    auto* codeForm = new QFormLayout;
    codeForm->addRow("Código de Ativação:", codigo_);
    layout->addLayout(codeForm);
    layout->addStretch();
    return column;
}

void ConfigurarInterfaceMfePage::writeCarrier(const CarrierPreset* preset) {
    const std::string_view values[] = {preset ? preset->usuario : "", preset ? preset->senha : "",
                                       preset ? preset->phone : "", preset ? preset->apn : ""};
    for (std::size_t i = 0; i < carrier_.size(); ++i)
        carrier_[i]->setText(QString::fromUtf8(values[i].data(), qsizetype(values[i].size())));
}

void ConfigurarInterfaceMfePage::CboMFERede1Change() {
    ethernet_.followAddressing();
}

void ConfigurarInterfaceMfePage::CboMFERede2Change() {
    mobile_.followAddressing();
}

void ConfigurarInterfaceMfePage::CboMFEProxy1Change() {
    ethernet_.followProxy();
}

void ConfigurarInterfaceMfePage::CboMFEProxy2Change() {
    mobile_.followProxy();
}

core::Inputs ConfigurarInterfaceMfePage::inputs() const {
    core::Inputs in;
    in.set(core::codigoField.key, textOf(codigo_));
    ethernet_.copyInto(in, ethernetFields);
    mobile_.copyInto(in, mobileFields);
    in.set(prioridadeField.key, priority_[1]->isChecked() ? "movel" : "ethernet");
    for (std::size_t i = 0; i < carrier_.size(); ++i)
        in.set(carrierFields[i]->key, textOf(carrier_[i]));
    return in;
}

} // namespace network
