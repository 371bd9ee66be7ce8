// SPDX-License-Identifier: GPL-3.0-or-later
// Deliberate faults, one per test function, each run alone by
// tests/sanitizers/CMakeLists.txt under the suite's sanitizer settings: every
// one must be reported. They run from Qt Test, so Qt's frames sit on their
// stacks as they do in real tests.
#include <QObject>
#include <QTest>

#include <climits>
#include <cstdlib>

namespace {

// Keeps the compiler from proving the faults away.
void* volatile sink;
volatile int pastTheEnd = 8;
volatile int big = INT_MAX;

} // namespace

class TestSanitizerCanary : public QObject
{
    Q_OBJECT

private slots:
    void heapOverflow()
    {
        char* bytes = new char[8]();
        sink = bytes;
        const char c = bytes[pastTheEnd];
        sink = reinterpret_cast<void*>(static_cast<quintptr>(c));
        delete[] bytes;
    }

    void useAfterFree()
    {
        QByteArray* array = new QByteArray("snapshot");
        delete array;
        sink = reinterpret_cast<void*>(array->size());
    }

    void signedOverflow()
    {
        const int sum = big + 1;
        sink = reinterpret_cast<void*>(static_cast<quintptr>(sum));
    }

    void leak()
    {
        sink = std::malloc(1000);
        sink = nullptr;
    }

    // Memory that Qt allocated for us: a suppression naming Qt must not hide it.
    void leakInQt()
    {
        sink = new QByteArray(1000, 'x');
        sink = nullptr;
    }
};

QTEST_GUILESS_MAIN(TestSanitizerCanary)
#include "tst_sanitizer_canary.moc"
