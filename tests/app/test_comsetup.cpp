#include "link/TComPort.h"
#include "link/ui/TComSetupFrm.h"
#include "tests/support/ZelctlProcess.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

// The setup dialog finds the device: its device list follows adapters plugged in and out, and
// the port search binds a device that answered to the chosen COM name with one click.
class TestComSetup : public QObject {
    Q_OBJECT

private slots:
    void deviceListFollowsPlugsAndSearchBindsAFoundDevice() {
        QTemporaryDir dir;
        QProcess sim;
        const QString pty = startZelsim(sim, ZELSIM_PATH, dir.filePath("sim.log"), {});
        QVERIFY2(pty.startsWith("/dev/pts/"), qPrintable(pty));

        TComPort port;
        port.setBindings({{"COM2", "rfc2217://127.0.0.1:4000"}});
        TComSetupFrm dialog(port);
        QList<QPair<QString, QString>> present = {{"/dev/zel-a", "Adapter A"}};
        dialog.setDeviceSource([&present] { return present; });
        dialog.show();
        auto *ports = dialog.findChild<QComboBox *>("ComboPort");
        auto *devices = dialog.findChild<QComboBox *>("ComboDevice");
        QVERIFY(ports->itemText(1).contains("(device server)"));
        ports->setCurrentIndex(ports->findData("COM3"));
        devices->setCurrentIndex(devices->findData("/dev/zel-a"));
        QCOMPARE(dialog.chosenDevice(), QString("/dev/zel-a"));

        // Plugged in: listed at the next poll, the choice kept.
        present.append({pty, "Simulated ZEL"});
        QTRY_VERIFY_WITH_TIMEOUT(devices->findData(pty) >= 0, 10000);
        QCOMPARE(dialog.chosenDevice(), QString("/dev/zel-a"));
        // Unplugged: gone from the list, but the user's choice stays until changed.
        present.removeFirst();
        QTRY_VERIFY_WITH_TIMEOUT(devices->findData("/dev/zel-a") < 0, 10000);
        QCOMPARE(dialog.chosenDevice(), QString("/dev/zel-a"));
        QCOMPARE(ports->currentData().toString(), QString("COM3"));

        // The search lists the device that answered first; one click chooses it for COM3.
        dialog.findChild<QPushButton *>("ButtonSearch")->click();
        auto *found = dialog.findChild<QListWidget *>("ListSearch");
        QVERIFY(found->count() >= 1);
        QListWidgetItem *first = found->item(0);
        QCOMPARE(first->data(Qt::UserRole).toString(), pty);
        QVERIFY2(first->text().contains("address 1"), qPrintable(first->text()));
        QTest::mouseClick(found->viewport(), Qt::LeftButton, {},
                          found->visualItemRect(first).center());
        QCOMPARE(dialog.chosenDevice(), pty);
        dialog.applyToPort();
        QCOMPARE(port.port(), QString("COM3"));
        QCOMPARE(port.devicePath(), pty);
        // The probe closed the port again: the tool's own open works.
        port.open();
        QVERIFY(port.connected());
        port.close();

        // A device server's address is typed like a device.
        devices->setEditText("rfc2217://plc-cabinet.local:4001");
        dialog.applyToPort();
        QCOMPARE(port.devicePath(), QString("rfc2217://plc-cabinet.local:4001"));
        sim.terminate();
        sim.waitForFinished(5000);
    }
};

QTEST_MAIN(TestComSetup)
#include "test_comsetup.moc"
