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
                QVERIFY2(!MessageCatalogue::textOfNumber(entry, lang).isEmpty(),
                         qPrintable(QString::number(entry)));
        }
        QCOMPARE(count, 133);
        for (int unassigned : {31, 32, 33, -1})
            QVERIFY(!MessageCatalogue::hasEntry(unassigned));
        QVERIFY(MessageCatalogue::textOfNumber(31, 0).isEmpty());
        // The tool's own entries follow without a gap and end at the last name of CatalogueEntry,
        // whose values are the entry numbers: an entry added to the table without a name fails.
        for (int entry = MessageCatalogue::kLastEntry + 1;
             entry <= MessageCatalogue::kLastOwnEntry + 1; ++entry)
            QVERIFY2(MessageCatalogue::hasEntry(entry) ==
                         (entry <= MessageCatalogue::kLastOwnEntry),
                     qPrintable(QString::number(entry)));
        QCOMPARE(MessageCatalogue::text(CatalogueEntry::NotAnInteger, 1),
                 QStringLiteral("'%1' is not a valid integer value"));
    }

    void keepsTheTextsWordForWord() {
        QCOMPARE(MessageCatalogue::textOfNumber(41, 1),
                 QStringLiteral("Error data exchange with ZEL 40 / ZEL 80 ..."));
        QCOMPARE(MessageCatalogue::textOfNumber(76, 0), QStringLiteral(" [msek]"));
        QCOMPARE(MessageCatalogue::textOfNumber(50, 2), QStringLiteral("Ouvrier ..."));
        QCOMPARE(
            MessageCatalogue::textOfNumber(112, 0),
            QStringLiteral("Legen Sie einen Druck von +250Pa an (Kalibrieranschlüsse verwenden).\r"
                           "Drücken Sie anschließend OK!"));
        QVERIFY(MessageCatalogue::textOfNumber(131, 1).startsWith(QLatin1Char('\r')));
        QVERIFY(MessageCatalogue::textOfNumber(134, 2).startsWith(QLatin1Char('\r')));
        // English equals German only in entry 27, French equals German only in entry 80.
        for (int entry = 0; entry <= 135; ++entry) {
            if (!MessageCatalogue::hasEntry(entry))
                continue;
            const QString de = MessageCatalogue::textOfNumber(entry, 0);
            QCOMPARE(MessageCatalogue::textOfNumber(entry, 1) == de, entry == 27);
            QCOMPARE(MessageCatalogue::textOfNumber(entry, 2) == de, entry == 80);
        }
    }

    void unknownLanguagesReadAsGerman() {
        QCOMPARE(MessageCatalogue::textOfNumber(99, 7), QStringLiteral("Beenden"));
        QCOMPARE(MessageCatalogue::textOfNumber(99, -1), QStringLiteral("Beenden"));
        QVERIFY(MessageCatalogue::matchesAnyLanguage(CatalogueEntry::StopMeasure,
                                                     QStringLiteral("arrêter mesurage")));
        QVERIFY(!MessageCatalogue::matchesAnyLanguage(CatalogueEntry::StopMeasure,
                                                      QStringLiteral("Messung starten")));
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "test_catalogue.moc"
