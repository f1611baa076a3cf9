#include "ui/module_call_dialog.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <exception>

namespace ui {
namespace {

QString minutesSeconds(qint64 ms) {
    const qint64 s = ms / 1000;
    return QString("%1:%2").arg(s / 60, 2, 10, QChar('0')).arg(s % 60, 2, 10, QChar('0'));
}

// How long a call may take before the wait dialog appears.
constexpr int dialogDelayMs = 300;

// The wait dialog ignores Escape and the close box: closed before the call is over, it would
// leave the window frozen until the call returned, with no way to cancel it.
class WaitDialog : public QDialog {
public:
    using QDialog::QDialog;
    void reject() override {}
};

} // namespace

std::string runWithWaitDialog(QWidget* parent, core::CallThread& thread, const core::WaitInfo& info,
                              const std::function<std::string()>& call) {
    std::string answer;
    std::exception_ptr failure;
    QEventLoop loop;
    WaitDialog dialog(parent);
    dialog.setObjectName("DlgAguarde");
    dialog.setWindowTitle("Aguarde");
    dialog.setModal(true);
    dialog.setWindowFlags(dialog.windowFlags() & ~Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QString::fromStdString("Executando " + info.operation + "...")));
    auto* elapsedLabel = new QLabel;
    elapsedLabel->setObjectName("LblTempo");
    layout->addWidget(elapsedLabel);
    if (info.cancel) {
        auto* cancel = new QPushButton("Cancelar");
        cancel->setObjectName("BtnCancelar");
        QObject::connect(cancel, &QPushButton::clicked, &dialog, [&info, cancel] {
            cancel->setEnabled(false);
            info.cancel();
        });
        layout->addWidget(cancel);
    } else {
        layout->addWidget(new QLabel("A chamada à biblioteca não pode ser interrompida."));
    }

    QElapsedTimer elapsed;
    elapsed.start();
    const auto refresh = [&] {
        QString text = "Tempo decorrido: " + minutesSeconds(elapsed.elapsed());
        if (info.limit)
            text += " de " + minutesSeconds(info.limit->count());
        elapsedLabel->setText(text);
    };
    refresh();
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, &dialog, refresh);
    ticker.start(200);

    bool finished = false;
    QObject::connect(&ticker, &QTimer::timeout, &dialog, [&] {
        if (!finished && !dialog.isVisible() && elapsed.elapsed() >= dialogDelayMs)
            loop.exit();
    });

    // The answer is written before the queued completion is posted, and read only after it has
    // run here; the task touches nothing of this frame once it has posted it.
    thread.post([&] {
        try {
            answer = call();
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(
            &dialog,
            [&] {
                finished = true;
                loop.exit();
                dialog.accept();
            },
            Qt::QueuedConnection);
    });

    // First a short wait that ignores input; then, if the call is still running, the modal
    // dialog, which blocks input to every other window.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!finished)
        dialog.exec();
    if (failure)
        std::rethrow_exception(failure);
    return answer;
}

} // namespace ui
