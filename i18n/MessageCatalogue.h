#pragma once

// i18n/: the texts of the user interface in German, English and French: the message catalogue
// with its entries named in CatalogueEntry, and the captions and list items of the settings
// (SettingTexts). Plain QtCore; the language in force is the caller's.

#include "i18n/CatalogueEntry.h"

#include <QString>

// The numbered texts of the user interface in German (0), English (1) and French (2).
// Entries 0 to 135, of which 31, 32 and 33 are unassigned, and from 136 on the tool's own texts.
class MessageCatalogue {
public:
    // The numbers of the original entries; the tool's own follow up to kLastOwnEntry.
    static constexpr int kFirstEntry = 0;
    static constexpr int kLastEntry = 135;
    static constexpr int kLastOwnEntry = int(CatalogueEntry::NotAnInteger);

    // Text of an entry in a language. A language outside 0..2 reads as German.
    static QString text(CatalogueEntry entry, int language);
    // The same for an entry number that comes from data (a loop over the table, a page index);
    // an unassigned or unknown number gives an empty text, so a lookup never leaves the table.
    static QString textOfNumber(int number, int language);

    // True for the assigned entry numbers: 133 original ones and 48 of the tool's own.
    static bool hasEntry(int number);

    // True when `candidate` equals the entry's text in any of the three languages.
    static bool matchesAnyLanguage(CatalogueEntry entry, const QString &candidate);
};
