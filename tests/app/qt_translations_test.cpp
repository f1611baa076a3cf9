#include "app/qt_translations.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QLibraryInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class QtTranslationsTest : public QObject {
    Q_OBJECT

    static QString closeText() {
        QDialogButtonBox box(QDialogButtonBox::Close);
        return box.button(QDialogButtonBox::Close)->text();
    }

private slots:
    // No folder with the file: the program goes on in Qt's English; the program's own folder
    // serves where Qt's has none.
    void theFirstFolderWithTheFileIsUsedAndNoneIsNoFailure() {
        const QString shipped =
            QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_pt_BR.qm";
        if (!QFile::exists(shipped))
            QSKIP("no qtbase_pt_BR.qm in Qt's translations folder (qt6-translations-l10n)");
        QTemporaryDir empty;
        QTemporaryDir program;
        QVERIFY(QDir().mkpath(program.filePath("translations")));
        QVERIFY(QFile::copy(shipped, program.filePath("translations/qtbase_pt_BR.qm")));

        QVERIFY(!app::installQtTranslations(*qApp, {empty.path(), empty.filePath("none")}));
        QCOMPARE(closeText(), QString("Close"));
        QVERIFY(
            app::installQtTranslations(*qApp, {empty.path(), program.filePath("translations")}));
        QCOMPARE(closeText(), QString("Fechar"));
    }
};

QTEST_MAIN(QtTranslationsTest)
#include "qt_translations_test.moc"
