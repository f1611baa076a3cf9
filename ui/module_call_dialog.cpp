#include "ui/module_call_dialog.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
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

// The wait dialog: the operation, the time elapsed (against the limit, when there is one) and,
// for an Integrador call, "Cancelar". It ignores Escape and the close box: closed before the call
// is over, it would leave the window frozen until the call returned, with no way to cancel it.
class WaitDialog : public QDialog {
public:
    WaitDialog(QWidget* parent, const core::WaitInfo& info) : QDialog(parent), info_(info) {
        setObjectName("DlgAguarde");
        setWindowTitle("Aguarde");
        setModal(true);
        setWindowFlags(windowFlags() & ~Qt::WindowCloseButtonHint);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(
            new QLabel(QString::fromStdString("Executando " + info.operation + "...")));
        elapsedLabel_ = new QLabel;
        elapsedLabel_->setObjectName("LblTempo");
        layout->addWidget(elapsedLabel_);
        if (info.cancel) {
            auto* cancel = new QPushButton("Cancelar");
            cancel->setObjectName("BtnCancelar");
            connect(cancel, &QPushButton::clicked, this, [this, cancel] {
                cancel->setEnabled(false);
                info_.cancel();
            });
            layout->addWidget(cancel);
        } else {
            layout->addWidget(new QLabel("A chamada à biblioteca não pode ser interrompida."));
        }
        elapsed_.start();
        refresh();
        connect(&ticker_, &QTimer::timeout, this, &WaitDialog::refresh);
        ticker_.start(200);
    }

    void reject() override {}

    qint64 elapsedMs() const { return elapsed_.elapsed(); }
    // Ticks while the call runs, whether the dialog shows or not.
    const QTimer& ticker() const { return ticker_; }

private:
    void refresh() {
        QString text = "Tempo decorrido: " + minutesSeconds(elapsed_.elapsed());
        if (info_.limit)
            text += " de " + minutesSeconds(info_.limit->count());
        elapsedLabel_->setText(text);
    }

    const core::WaitInfo& info_;
    QLabel* elapsedLabel_ = nullptr;
    QElapsedTimer elapsed_;
    QTimer ticker_;
};

} // namespace

std::string runWithWaitDialog(QWidget* parent, core::CallThread& thread, const core::WaitInfo& info,
                              const std::function<std::string()>& call) {
    std::string answer;
    std::exception_ptr failure;
    QEventLoop loop;
    WaitDialog dialog(parent, info);

    bool finished = false;
    QObject::connect(&dialog.ticker(), &QTimer::timeout, &dialog, [&] {
        if (!finished && !dialog.isVisible() && dialog.elapsedMs() >= dialogDelayMs)
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
