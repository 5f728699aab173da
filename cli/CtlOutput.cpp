#include "cli/CtlOutput.h"

#include "i18n/MessageCatalogue.h"

EOutputFailed::EOutputFailed(const QString &reason)
    : EFileError(MessageCatalogue::text(CatalogueEntry::StandardOutputFailed, 0).arg(reason)),
      reason_(reason) {}

QString EOutputFailed::message(int language) const {
    return MessageCatalogue::text(CatalogueEntry::StandardOutputFailed, language).arg(reason_);
}

CtlOutput::CtlOutput(int fd) {
    // Unbuffered below the text stream: a failed write shows at the flush that made it.
    file_.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle);
    stream_.setDevice(&file_);
}

QString CtlOutput::escaped(const QString &text) {
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

CtlOutput &CtlOutput::operator<<(const QString &text) {
    stream_ << escaped(text);
    return *this;
}

CtlOutput &CtlOutput::operator<<(const char *ownText) {
    stream_ << ownText;
    return *this;
}

CtlOutput &CtlOutput::operator<<(char c) {
    stream_ << c;
    return *this;
}

void CtlOutput::writeBytes(const QByteArray &bytes) {
    stream_.flush();
    if (file_.write(bytes) != bytes.size())
        throw EOutputFailed(file_.errorString());
}

void CtlOutput::flush() {
    stream_.flush();
    if (stream_.status() != QTextStream::Ok || file_.error() != QFileDevice::NoError)
        throw EOutputFailed(file_.errorString());
}
