#include "scpi_serial.h"

#include <QTest>

class tst_SerialPortList : public QObject
{
    Q_OBJECT

private slots:
    void order_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("COM numbers")
            << QStringList { "COM10", "COM3", "COM1" } << QStringList { "COM1", "COM3", "COM10" };
        QTest::newRow("Linux names in natural order")
            << QStringList { "ttyS10", "ttyUSB0", "ttyS2", "ttyACM1", "ttyS1" }
            << QStringList { "ttyACM1", "ttyS1", "ttyS2", "ttyS10", "ttyUSB0" };
        QTest::newRow("Linux names count 0, before COM1") << QStringList { "COM2", "ttyUSB1",
            "COM1", "ttyUSB0" } << QStringList { "ttyUSB0", "ttyUSB1", "COM1", "COM2" };
        QTest::newRow("number after the first COM") << QStringList { "xCOM12", "COM4", "COMCOM5" }
                                                    << QStringList { "COMCOM5", "COM4", "xCOM12" };
        QTest::newRow("leading zeros")
            << QStringList { "tty010", "tty9" } << QStringList { "tty9", "tty010" };
        // Numbers: "" 0, "COMx" 0, "x" 0, "COM7" 7, "ab12" 12 (third character on).
        QTest::newRow("text that is no number counts 0") << QStringList { "ab12", "COM7", "x",
            "COMx", "" } << QStringList { "", "COMx", "x", "COM7", "ab12" };
        QTest::newRow("empty") << QStringList() << QStringList();
    }
    void order()
    {
        QFETCH(QStringList, present);
        QFETCH(QStringList, listed);
        QCOMPARE(SCPI_Serial::sortSerialPortNames(present), listed);
        // The result does not depend on the order the system reports the ports in.
        std::reverse(present.begin(), present.end());
        QCOMPARE(SCPI_Serial::sortSerialPortNames(present), listed);
    }
};

QTEST_GUILESS_MAIN(tst_SerialPortList)
#include "tst_serialportlist.moc"
