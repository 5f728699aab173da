#include "link/WireText.h"

#include "i18n/MessageCatalogue.h"

namespace WireText {

int firstControlChar(const QString &text) {
    for (int i = 0; i < text.size(); ++i) {
        if (text[i].category() == QChar::Other_Control)
            return i;
    }
    return -1;
}

QString commandName(const QString &command) {
    QString name = command.section(QLatin1Char(' '), 0, 0);
    if (name.startsWith(QLatin1Char('>')) || name.startsWith(QLatin1Char('?')))
        name.remove(0, 1);
    const int cut = firstControlChar(name);
    return cut < 0 ? name : name.left(cut);
}

} // namespace WireText

EUnsafeValue::EUnsafeValue(const QString &setting)
    : EGlobalError(MessageCatalogue::text(CatalogueEntry::UnsafeValue, 0) + QLatin1Char(' ') +
                   setting),
      setting_(setting) {}

QString EUnsafeValue::message(int language) const {
    return MessageCatalogue::text(CatalogueEntry::UnsafeValue, language) + QLatin1Char(' ') +
           setting_;
}
