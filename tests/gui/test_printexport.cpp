#include "dialogs/printpage.h"
#include "dialogs/recordingtext.h"
#include "support/gui/modaldriver.h"
#include "support/outputfixtures.h"
#include "support/testfiles.h"
#include "view/comtraderead.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

using VornaLumeto::COMTRADE_read;

namespace {

const QString header = QStringLiteral(
    "Осциллограмма. Имя регистратора: ПС-1. Номер регистратора: 12. "
    "Дата и время пуска: 05/03/2021 09:07:3.25.");
const QString firstDefaultName = QStringLiteral("Осциллограмма ПС-1 05_03_2021 09_07_3.25 1.pdf");

VornaLumeto::TimeStamp exampleTrigger()
{
    VornaLumeto::TimeStamp trigger;
    trigger.day = 5;
    trigger.month = 3;
    trigger.year = 2021;
    trigger.hour = 9;
    trigger.minute = 7;
    trigger.seconds = 3.25;
    return trigger;
}

QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Saves through the save dialog: the first modal must be the file dialog; answer picks the file.
void answerSaveDialog(std::function<void(QFileDialog*)> answer)
{
    LumetoTest::whenModalAppears([answer](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog);
        answer(dialog);
    });
}

void saveAs(QFileDialog* dialog, const QString& path)
{
    dialog->selectFile(path);
    static_cast<QDialog*>(dialog)->accept();  // the file dialog's own accept checks overwriting
}

} // namespace

class TestPrintExport : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(recordingDir.isValid());
        configurationPath = LumetoTest::writeHeaderRecording(recordingDir, "print", {});
    }

    void init()
    {
        workDir.reset(new QTemporaryDir);
        QVERIFY(QDir::setCurrent(workDir->path()));
        view.reset(new COMTRADE_read(nullptr));
        QCOMPARE(view->load(configurationPath), QStringLiteral("Без ошибок"));
        view->resize(1020, 620);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.data()));
    }

    void cleanup() { view.reset(); }

    void buildsNamesAndHeaderFromTheTrigger()
    {
        QCOMPARE(VornaLumeto::defaultPdfName(QStringLiteral("ПС-1"), exampleTrigger()), firstDefaultName);
        QCOMPARE(VornaLumeto::printHeaderText(QStringLiteral("ПС-1"), QStringLiteral("12"), exampleTrigger()), header);
        // A station name never turns the proposal into a path elsewhere.
        QCOMPARE(VornaLumeto::defaultPdfName(QStringLiteral("ПС/Цифра"), exampleTrigger()),
                 QStringLiteral("Осциллограмма ПС_Цифра 05_03_2021 09_07_3.25 1.pdf"));
        QCOMPARE(VornaLumeto::fileNameSafe(QStringLiteral("C:\\a*b?\"<c>|d\te\x7f")),
                 QStringLiteral("C__a_b___c__d_e_"));
        QCOMPARE(VornaLumeto::shortSecondsText(5.1234567), QStringLiteral("5.12346"));
        QCOMPARE(VornaLumeto::shortSecondsText(7.0), QStringLiteral("7"));
    }

    void walksToTheFirstFreeCounter()
    {
        const QString second = QStringLiteral("Осциллограмма ПС-1 05_03_2021 09_07_3.25 2.pdf");
        const QString third = QStringLiteral("Осциллограмма ПС-1 05_03_2021 09_07_3.25 3.pdf");
        QCOMPARE(VornaLumeto::uniquePdfName(firstDefaultName, {second, firstDefaultName}), third);
        QCOMPARE(VornaLumeto::uniquePdfName(firstDefaultName, {second, "other.pdf"}), firstDefaultName);
        QCOMPARE(VornaLumeto::uniquePdfName(firstDefaultName, {firstDefaultName.toUpper()}),
                 firstDefaultName);
    }

    void fitsTheScreenshotBelowTheHeaderBand()
    {
        QCOMPARE(VornaLumeto::screenshotCrop(QSize(1020, 620)), QRect(0, 0, 1000, 600));

        const auto page = VornaLumeto::printPageGeometry(QSize(1000, 600), QSize(2000, 926));
        QCOMPARE(page.scale, 1.5);
        QCOMPARE(page.imageRect, QRect(0, 26, 1500, 900));
        QCOMPARE(page.headerRect, QRect(10, 0, 2000, 900));

        // A small view is enlarged until the height below the band runs out.
        const auto enlarged = VornaLumeto::printPageGeometry(QSize(100, 50), QSize(2000, 926));
        QCOMPARE(enlarged.scale, 18.0);
        QCOMPARE(enlarged.imageRect, QRect(0, 26, 1800, 900));

        // Sizes are truncated toward zero.
        const auto truncated = VornaLumeto::printPageGeometry(QSize(3, 3), QSize(10, 36));
        QCOMPARE(truncated.imageRect, QRect(0, 26, 10, 10));
        const auto odd = VornaLumeto::printPageGeometry(QSize(3, 7), QSize(10, 36));
        QCOMPARE(odd.imageRect.size(), QSize(4, 10));

        QVERIFY(VornaLumeto::printPageGeometry(QSize(), QSize(2000, 926)).imageRect.isEmpty());
    }

    void ignoresOtherModes()
    {
        bool dialogShown = false;
        LumetoTest::whenModalAppears([&dialogShown](QWidget* modal) {
            dialogShown = true;
            modal->close();
        }, 300);
        for (int mode : {0, 3, -1, 100})
            QCOMPARE(view->printOrExport(mode), 0);
        QTest::qWait(400);
        QVERIFY(!dialogShown);
    }

    void exportsOneLandscapePageWithTheHeader()
    {
        // The first default name is taken, so the dialog proposes the second one.
        LumetoTest::writeFile(*workDir, firstDefaultName, "taken");
        QString proposed;
        answerSaveDialog([&proposed](QFileDialog* dialog) {
            proposed = dialog->selectedFiles().value(0);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Сохранить в формате pdf"));
            static_cast<QDialog*>(dialog)->accept();
        });
        QCOMPARE(view->printOrExport(2), 2);

        const QString pdf = workDir->filePath("Осциллограмма ПС-1 05_03_2021 09_07_3.25 2.pdf");
        QCOMPARE(proposed, pdf);
        QVERIFY(QFileInfo(pdf).size() > 0);

        const QString info = runTool("pdfinfo", {pdf});
        QVERIFY2(info.contains(QRegularExpression("Pages:\\s+1\\n")), qPrintable(info));
        const auto size = QRegularExpression("Page size:\\s+([\\d.]+) x ([\\d.]+)").match(info);
        QVERIFY(size.hasMatch());
        QVERIFY(size.captured(1).toDouble() > size.captured(2).toDouble());

        const QString text = runTool("pdftotext", {pdf, "-"});
        QVERIFY2(text.contains(header), qPrintable(text));

        // The picture is stored losslessly: thin coloured traces must not blur.
        const QStringList images = runTool("pdfimages", {"-list", pdf}).split('\n', Qt::SkipEmptyParts).mid(2);
        QVERIFY2(images.size() >= 1, qPrintable(images.join('\n')));
        for (const QString& image : images)
            QVERIFY2(image.simplified().split(' ').value(8) != QStringLiteral("jpeg"), qPrintable(image));
    }

    void longStationNameIsElidedSoTheHeaderFits()
    {
        const QString longName = QStringLiteral("Подстанция 500 кВ Центральная, ").repeated(4).left(100)
                                     .replace(QLatin1Char(','), QLatin1Char(';'));
        const QString triggerTail = QStringLiteral(". Номер регистратора: 12. Дата и время пуска: 05/03/2021 09:07:3.25.");
        QFont font;
        font.setPixelSize(16);
        const QFontMetrics metrics(font);
        const QString fitted = VornaLumeto::fittedPrintHeaderText(longName, QStringLiteral("12"), exampleTrigger(), metrics, 1000);
        QVERIFY2(metrics.horizontalAdvance(fitted) <= 1000, qPrintable(fitted));
        QVERIFY(fitted.contains(QChar(0x2026)));
        QVERIFY(fitted.endsWith(triggerTail));
        QCOMPARE(VornaLumeto::fittedPrintHeaderText("ПС-1", QStringLiteral("12"), exampleTrigger(), metrics, 1000), header);

        // On the page: the trigger time is there, inside the page.
        LumetoTest::HeaderRecording longHeader;
        longHeader.stationName = longName;
        view.reset(new COMTRADE_read(nullptr));
        QCOMPARE(view->load(LumetoTest::writeHeaderRecording(recordingDir, "long", longHeader)),
                 QStringLiteral("Без ошибок"));
        view->resize(1020, 620);
        const QString pdf = workDir->filePath("long.pdf");
        answerSaveDialog([pdf](QFileDialog* dialog) { saveAs(dialog, pdf); });
        QCOMPARE(view->printOrExport(2), 2);
        const QString text = runTool("pdftotext", {pdf, "-"});
        QVERIFY2(text.contains(triggerTail), qPrintable(text));
    }

    void cancellingThePrintDialogPrintsNothing()
    {
        QString title;
        bool selectionOffered = false;
        LumetoTest::whenModalAppears([&](QWidget* modal) {
            auto* dialog = qobject_cast<QPrintDialog*>(modal);
            QVERIFY(dialog);
            title = dialog->windowTitle();
            selectionOffered = dialog->testOption(QAbstractPrintDialog::PrintSelection);
            dialog->reject();
        });
        QCOMPARE(view->printOrExport(1), 0);
        QCOMPARE(title, QStringLiteral("Распечатать документ"));
        QVERIFY(selectionOffered);
    }

    void cancellingTheSaveDialogWritesNothing()
    {
        answerSaveDialog([](QFileDialog* dialog) { dialog->reject(); });
        QCOMPARE(view->printOrExport(2), 0);
        QVERIFY(QDir(workDir->path()).entryList({"*.pdf"}).isEmpty());
    }

    void askedBeforeOverwritingAnExistingFile()
    {
        const QString existing = LumetoTest::writeFile(*workDir, "kept.pdf", "keep me");
        answerSaveDialog([existing](QFileDialog* dialog) {
            LumetoTest::whenModalAppears([dialog](QWidget* question) {
                auto* box = qobject_cast<QMessageBox*>(question);
                QVERIFY(box);
                box->button(QMessageBox::No)->click();
                LumetoTest::whenModalAppears([dialog](QWidget*) { dialog->reject(); });
            });
            saveAs(dialog, existing);
        });
        QCOMPARE(view->printOrExport(2), 0);
        QFile kept(existing);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("keep me"));
    }

    void reportsAFileThatCannotBeWritten()
    {
        const QString unwritable = workDir->filePath("missing-folder/out.pdf");
        QString title;
        QString message;
        answerSaveDialog([&](QFileDialog* dialog) {
            LumetoTest::whenModalAppears([&](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                QVERIFY(box);
                title = box->windowTitle();
                message = box->text();
                box->accept();
            });
            saveAs(dialog, unwritable);
        });
        QCOMPARE(view->printOrExport(2), 0);
        QCOMPARE(title, QStringLiteral("Ошибка"));
        QCOMPARE(message, "Не удалось сохранить файл " + unwritable);
    }

private:
    QTemporaryDir recordingDir;
    QString configurationPath;
    QScopedPointer<QTemporaryDir> workDir;
    QScopedPointer<COMTRADE_read> view;
};

QTEST_MAIN(TestPrintExport)
#include "test_printexport.moc"
