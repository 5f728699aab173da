// The message catalogue: its shape and the facts its texts must keep.
#include "i18n/MessageCatalogue.h"

#include <QtTest>

class TestCatalogue : public QObject {
    Q_OBJECT
private slots:
    void holdsTheAssignedEntries() {
        int count = 0;
        for (int entry = MessageCatalogue::kFirstEntry; entry <= MessageCatalogue::kLastEntry;
             ++entry) {
            if (!MessageCatalogue::hasEntry(entry))
                continue;
            ++count;
            for (int lang = 0; lang < 3; ++lang)
                QVERIFY2(!MessageCatalogue::text(entry, lang).isEmpty(),
                         qPrintable(QString::number(entry)));
        }
        QCOMPARE(count, 133);
        for (int unassigned : {31, 32, 33, -1})
            QVERIFY(!MessageCatalogue::hasEntry(unassigned));
        QVERIFY(MessageCatalogue::text(31, 0).isEmpty());
    }

    void keepsTheTextsWordForWord() {
        QCOMPARE(MessageCatalogue::text(41, 1),
                 QStringLiteral("Error data exchange with ZEL 40 / ZEL 80 ..."));
        QCOMPARE(MessageCatalogue::text(76, 0), QStringLiteral(" [msek]"));
        QCOMPARE(MessageCatalogue::text(50, 2), QStringLiteral("Ouvrier ..."));
        QCOMPARE(
            MessageCatalogue::text(112, 0),
            QStringLiteral("Legen Sie einen Druck von +250Pa an (Kalibrieranschlüsse verwenden).\r"
                           "Drücken Sie anschließend OK!"));
        QVERIFY(MessageCatalogue::text(131, 1).startsWith(QLatin1Char('\r')));
        QVERIFY(MessageCatalogue::text(134, 2).startsWith(QLatin1Char('\r')));
        // English equals German only in entry 27, French equals German only in entry 80.
        for (int entry = 0; entry <= 135; ++entry) {
            if (!MessageCatalogue::hasEntry(entry))
                continue;
            const QString de = MessageCatalogue::text(entry, 0);
            QCOMPARE(MessageCatalogue::text(entry, 1) == de, entry == 27);
            QCOMPARE(MessageCatalogue::text(entry, 2) == de, entry == 80);
        }
    }

    void unknownLanguagesReadAsGerman() {
        QCOMPARE(MessageCatalogue::text(99, 7), QStringLiteral("Beenden"));
        QCOMPARE(MessageCatalogue::text(99, -1), QStringLiteral("Beenden"));
        QVERIFY(MessageCatalogue::matchesAnyLanguage(43, QStringLiteral("arrêter mesurage")));
        QVERIFY(!MessageCatalogue::matchesAnyLanguage(43, QStringLiteral("Messung starten")));
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "test_catalogue.moc"
