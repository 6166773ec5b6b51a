#include "app/processmemory.h"

#include <QtTest>

#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <memory>

// The set-up runs in main, before QtTest takes over, exactly as the viewer's
// main runs it; the tests then look at what it left behind.
class TestProcessMemory : public QObject {
    Q_OBJECT

private slots:
    void restartedWithHugePagesForTheHeap();
    void channelSizedBlocksComeFromTheHeap();
};

void TestProcessMemory::restartedWithHugePagesForTheHeap()
{
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    QVERIFY(tunables);
    QVERIFY(std::strstr(tunables, "glibc.malloc.hugetlb"));
}

void TestProcessMemory::channelSizedBlocksComeFromTheHeap()
{
    // A 255-channel series of 65,535 doubles is half a megabyte; glibc's
    // default would give each block of this size a mapping of its own.
    const int mappedBefore = mallinfo2().hblks;
    std::unique_ptr<char[]> block(new char[4 * 1024 * 1024]);
    block[0] = 1;
    QCOMPARE(int(mallinfo2().hblks), mappedBefore);
}

int main(int argc, char* argv[])
{
    VornaLumeto::setUpProcessMemory(argv);
    TestProcessMemory test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_processmemory.moc"
