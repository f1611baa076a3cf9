#include "operations/ativar_sat_page.h"

#include "operations/ativar_sat.h"
#include "operations/page_controls.h"
#include "operations/uf_table.h"
#include "ui/qt_text.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace operations {
namespace {

constexpr int ceIndex = 5;

// The certificate types: shown only; the sub-command sent is always 1.
QGroupBox* certificateTypes() {
    auto* box = new QGroupBox("Tipo de Certificado:");
    box->setObjectName("rgTipoCert");
    auto* layout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    int item = 0;
    for (const char* caption : {"AC-SAT - SEFAZ", "ICP-BRASIL", "RENOVAÇÃO ICP-BRASIL"}) {
        auto* radio = new QRadioButton(caption);
        radio->setObjectName("rgTipoCert_" + QString::number(item));
        group->addButton(radio, item++);
        layout->addWidget(radio);
    }
    group->button(0)->setChecked(true);
    box->setEnabled(false);
    return box;
}

} // namespace

AtivarSatPage::AtivarSatPage(const core::OperationDefinition& definition, ui::PageHost& host,
                             QWidget* parent)
    : ui::OperationPage(definition, host, parent) {
    auto* layout = new QVBoxLayout(parametersPanel());
    layout->addWidget(certificateTypes());
    auto* form = new QFormLayout;
    layout->addLayout(form);
    codigo_ = new QLineEdit;
    codigo_->setObjectName("EdtCodAtiv_2");
    codigo_->setMaxLength(32);
    form->addRow("Código de Ativação:", codigo_);
    cnpj_ = makeCnpjEdit("EdtCNPJContrib");
    form->addRow(namedLabel("CNPJ do Contribuinte:", "LblCNPJContr_2"), cnpj_);
    uf_ = new QComboBox;
    uf_->setObjectName("cboUF");
    form->addRow(namedLabel("UF:", "LblUF_2"), uf_);
}

core::Inputs AtivarSatPage::inputs() const {
    core::Inputs in;
    in.set(core::codigoField.key, codigo_->text().toStdString());
    in.set(cnpjContribuinteField.key, cnpjValue(cnpj_));
    in.set(ufField.key, uf_->currentText().toStdString());
    return in;
}

void fillUfList(QComboBox* list) {
    if (!list)
        return;
    list->clear();
    for (const Uf& uf : ufTable())
        list->addItem(ui::qs(uf.sigla));
    list->setCurrentIndex(ceIndex);
}

} // namespace operations
