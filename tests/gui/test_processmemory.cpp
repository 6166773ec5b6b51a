#include "app/comtradeview.h"
#include "app/processmemory.h"
#include "recordinggenerator.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <malloc.h>

#include <memory>

namespace {

qint64 residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

} // namespace

// The set-up runs in main, before QtTest takes over, exactly as the viewer's
// main runs it; the tests then look at what it left behind.
class TestProcessMemory : public QObject {
    Q_OBJECT

private slots:
    void channelSizedBlocksComeFromTheHeap();
    void closedTabGivesItsMemoryBack();
};

void TestProcessMemory::channelSizedBlocksComeFromTheHeap()
{
    // A 255-channel series of 65,535 doubles is half a megabyte; glibc's
    // default would give each block of this size a mapping of its own.
    const int mappedBefore = mallinfo2().hblks;
    std::unique_ptr<char[]> block(new char[4 * 1024 * 1024]);
    block[0] = 1;
    QCOMPARE(int(mallinfo2().hblks), mappedBefore);
}

void TestProcessMemory::closedTabGivesItsMemoryBack()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("AddressSanitizer holds freed memory in its quarantine");
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    QSKIP("AddressSanitizer holds freed memory in its quarantine");
#endif
#endif
    QTemporaryDir dir;
    LumetoTools::GeneratorOptions options;
    options.analogCount = 40;
    options.digitalCount = 8;
    options.samples = 20000;
    const QString base = dir.filePath(QStringLiteral("large"));
    QVERIFY(LumetoTools::writeRecording(base, options));

    VornaLumeto::comtrade_view tabs(nullptr);
    const qint64 before = residentKilobytes();
    QVERIFY(tabs.openFile(base + QStringLiteral(".cfg")));
    const qint64 grown = residentKilobytes() - before;
    QVERIFY2(grown > 20 * 1024, qPrintable(QString::number(grown)));

    // The view goes with the event loop's deferred delete; the heap follows it.
    tabs.slot_close_tab(0);
    QTRY_VERIFY_WITH_TIMEOUT(residentKilobytes() - before < grown / 4, 5000);
}

int main(int argc, char* argv[])
{
    VornaLumeto::setUpProcessMemory();
    QApplication application(argc, argv);
    TestProcessMemory test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_processmemory.moc"
