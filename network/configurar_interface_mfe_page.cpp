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
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

namespace network {
namespace {

// A form whose rows stand close together, so that a network's seven rows fit the page.
QFormLayout* compactForm() {
    auto* form = new QFormLayout;
    form->setVerticalSpacing(3);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    return form;
}

} // namespace

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

    const char* carrierNames[] = {"EdtMFEUsuario", "EdtMFESenha", "EdtMFEPhone", "EdtMFEAPN"};
    for (std::size_t i = 0; i < carrier_.size(); ++i)
        carrier_[i] = namedEdit(carrierNames[i]);
    codigo_ = namedEdit("LblEdtMFECodRede");
    codigo_->setEchoMode(QLineEdit::Password);

    // The two networks as sub-tabs, each with its addressing and its proxy side by side; under
    // them the priority, the mobile carrier and the activation code.
    auto* layout = new QVBoxLayout(parametersPanel());
    layout->setContentsMargins(0, 0, 0, 0);
    auto* networks = new QTabWidget;
    networks->setObjectName("PCRedesMFE");
    networks->addTab(buildNetwork("TSRedeMFE1", "ETHERNET", "EdtMFEInter1", ethernet_), "ETHERNET");
    networks->addTab(buildNetwork("TSRedeMFE2", "3G/GPRS", "EdtMFEInter2", mobile_), "3G/GPRS");
    layout->addWidget(networks);
    auto* below = new QHBoxLayout;
    below->addWidget(buildPriority());
    below->addWidget(buildCarrier(), 1);
    layout->addLayout(below);
    auto* codeForm = new QFormLayout;
    codeForm->addRow("Código de Ativação:", codigo_);
    layout->addLayout(codeForm);

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

QWidget* ConfigurarInterfaceMfePage::buildNetwork(const char* sheetName, const char* title,
                                                  const char* interfaceName,
                                                  NetworkControls& network) {
    auto* sheet = new QWidget;
    sheet->setObjectName(sheetName);
    auto* columns = new QHBoxLayout(sheet);
    auto* addressing = compactForm();
    auto* interface = namedEdit(interfaceName);
    interface->setText(title);
    interface->setReadOnly(true);
    addressing->addRow("Interface:", interface);
    addressing->addRow("Rede:", network.addressing);
    const char* addressLabels[] = {"IP:", "Mascara:", "Gateway:", "DNS1:", "DNS2:"};
    for (std::size_t i = 0; i < network.addresses.size(); ++i)
        addressing->addRow(addressLabels[i], network.addresses[i]);
    auto* proxy = compactForm();
    proxy->addRow("Proxy:", network.proxy);
    const char* proxyLabels[] = {
        "IP do Proxy:", "Porta do Proxy:", "Usuário do Proxy:", "Senha do Proxy:"};
    for (std::size_t i = 0; i < network.proxyDetails.size(); ++i)
        proxy->addRow(proxyLabels[i], network.proxyDetails[i]);
    network.proxyDetails[3]->setEchoMode(QLineEdit::Password);
    columns->addLayout(addressing);
    columns->addLayout(proxy);
    return sheet;
}

QWidget* ConfigurarInterfaceMfePage::buildPriority() {
    auto* priority = new QGroupBox("Prioridade");
    priority->setObjectName("CboPrio");
    auto* layout = new QVBoxLayout(priority);
    auto* group = new QButtonGroup(priority);
    const char* priorityItems[] = {"1º ETHERNET -  2º 3G/GPRS", "1º 3G/GPRS    -  2º ETHERNET "};
    for (std::size_t i = 0; i < priority_.size(); ++i) {
        priority_[i] = new QRadioButton(priorityItems[i]);
        priority_[i]->setObjectName(QString("CboPrio_%1").arg(i));
        group->addButton(priority_[i]);
        layout->addWidget(priority_[i]);
    }
    priority_[0]->setChecked(true);
    layout->addStretch();
    return priority;
}

// The carrier's access data of the 3G/GPRS network, under the presets that fill it.
QWidget* ConfigurarInterfaceMfePage::buildCarrier() {
    auto* carrier = new QGroupBox("Principais Operadoras");
    auto* layout = new QVBoxLayout(carrier);
    auto* presets = new QHBoxLayout;
    auto* none = new QPushButton("NENHUMA");
    none->setObjectName("BitNenhum");
    connect(none, &QPushButton::clicked, this, [this] { writeCarrier(nullptr); });
    presets->addWidget(none);
    for (const CarrierPreset& preset : carrierPresets) {
        auto* button = new QPushButton(QString::fromUtf8(preset.name));
        button->setObjectName("Bit" + QString::fromUtf8(preset.name));
        connect(button, &QPushButton::clicked, this, [this, &preset] { writeCarrier(&preset); });
        presets->addWidget(button);
    }
    // The style's wide minimum for buttons would push the row past the page: each button only
    // needs room for its caption.
    for (int i = 0; i < presets->count(); ++i) {
        auto* button = static_cast<QPushButton*>(presets->itemAt(i)->widget());
        const QStyle* style = button->style();
        const int frame = style->pixelMetric(QStyle::PM_ButtonMargin) +
                          style->pixelMetric(QStyle::PM_DefaultFrameWidth);
        button->setMinimumWidth(button->fontMetrics().horizontalAdvance(button->text()) +
                                2 * frame);
    }
    layout->addLayout(presets);
    auto* edits = new QHBoxLayout;
    const char* labels[] = {"Usuário:", "Senha:", "Phone:", "APN:"};
    for (std::size_t column = 0; column < 2; ++column) {
        auto* form = compactForm();
        for (std::size_t i = column * 2; i < column * 2 + 2; ++i)
            form->addRow(labels[i], carrier_[i]);
        edits->addLayout(form);
    }
    layout->addLayout(edits);
    return carrier;
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
