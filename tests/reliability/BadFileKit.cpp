#include "tests/reliability/BadFileKit.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace BadFileKit {

namespace {

constexpr qint64 kHugeSize = 100LL * 1024 * 1024;
constexpr qint64 kDigestPart = 1024 * 1024;
const QByteArray kEarlier = "[Other]\r\nkeep=this line\r\n";

bool isRoot() {
    return ::geteuid() == 0;
}

void makeFolder(const QString &path) {
    QFile::remove(path);
    if (!QDir().mkpath(path))
        throw std::runtime_error("cannot create " + path.toStdString());
    write(QDir(path).filePath(QStringLiteral("inside.txt")), "a file in the folder\n");
}

void makeHuge(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || !file.write("[Scalings]\r\n") ||
        !file.resize(kHugeSize))
        throw std::runtime_error("cannot create " + path.toStdString());
}

} // namespace

QString key(Bad bad) {
    switch (bad) {
    case Bad::Truncated:
        return QStringLiteral("truncated");
    case Bad::Binary:
        return QStringLiteral("binary");
    case Bad::Huge:
        return QStringLiteral("huge");
    case Bad::Unreadable:
        return QStringLiteral("unreadable");
    case Bad::Empty:
        return QStringLiteral("empty");
    case Bad::Fifo:
        return QStringLiteral("fifo");
    }
    return {};
}

QString key(Target target) {
    switch (target) {
    case Target::UnderRegularFile:
        return QStringLiteral("under-regular-file");
    case Target::Folder:
        return QStringLiteral("folder-in-place");
    case Target::FullDisk:
        return QStringLiteral("full-disk");
    case Target::HugeEarlier:
        return QStringLiteral("huge-earlier");
    case Target::UnreadableEarlier:
        return QStringLiteral("unreadable-earlier");
    }
    return {};
}

QByteArray binaryBytes(int size) {
    QRandomGenerator random(20260101);
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) {
        char c = static_cast<char>(random.bounded(256));
        if (c == '[' || c == '=')
            c = '\0';
        bytes[i] = c;
    }
    return bytes;
}

void write(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

QByteArray read(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void make(Bad bad, const QString &path) {
    switch (bad) {
    case Bad::Truncated:
        write(path, "[Scalings]\r\nScalPdown=-25");
        break;
    case Bad::Binary:
        write(path, binaryBytes(4096));
        break;
    case Bad::Huge:
        makeHuge(path);
        break;
    case Bad::Unreadable:
        if (isRoot()) {
            makeFolder(path);
        } else {
            write(path, "[Scalings]\r\nScalPdown=1\r\n");
            QFile::setPermissions(path, QFileDevice::Permissions());
        }
        break;
    case Bad::Empty:
        write(path, QByteArray());
        break;
    case Bad::Fifo:
        QFile::remove(path);
        if (::mkfifo(QFile::encodeName(path).constData(), 0600) != 0)
            throw std::runtime_error("cannot create " + path.toStdString());
        break;
    }
}

QString prepareTarget(Target target, const QString &dir) {
    if (target == Target::UnderRegularFile) {
        const QString plain = QDir(dir).filePath(QStringLiteral("plain"));
        write(plain, "a regular file, not a folder\n");
        return QDir(plain).filePath(QStringLiteral("target.zel"));
    }
    const QString path = QDir(dir).filePath(QStringLiteral("target.zel"));
    prepareTargetAt(target, path);
    return path;
}

void prepareTargetAt(Target target, const QString &path) {
    switch (target) {
    case Target::UnderRegularFile:
        throw std::logic_error("a regular file cannot be put in place of a folder here");
    case Target::Folder:
        makeFolder(path);
        break;
    case Target::FullDisk:
        write(path, kEarlier);
        break;
    case Target::HugeEarlier:
        makeHuge(path);
        break;
    case Target::UnreadableEarlier:
        make(Bad::Unreadable, path);
        break;
    }
}

bool Snapshot::operator==(const Snapshot &other) const {
    return exists == other.exists && isDir == other.isDir && size == other.size &&
           digest == other.digest && permissions == other.permissions;
}

Snapshot snapshot(const QString &path) {
    Snapshot shot;
    const QFileInfo info(path);
    shot.exists = info.exists();
    shot.isDir = info.isDir();
    shot.permissions = int(info.permissions());
    // Only regular files are read: opening a named pipe would wait for a writer.
    if (!shot.exists || !info.isFile())
        return shot;
    shot.size = info.size();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        shot.digest = "unreadable";
        return shot;
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(file.read(kDigestPart));
    if (shot.size > 2 * kDigestPart) {
        file.seek(shot.size - kDigestPart);
        hash.addData(file.read(kDigestPart));
    } else {
        hash.addData(file.readAll());
    }
    shot.digest = hash.result();
    return shot;
}

QMap<QString, Snapshot> snapshotTree(const QString &dir) {
    QMap<QString, Snapshot> tree;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    const QDir root(dir);
    while (it.hasNext()) {
        const QString path = it.next();
        tree.insert(root.relativeFilePath(path), snapshot(path));
    }
    return tree;
}

QString describeChange(const QMap<QString, Snapshot> &before,
                       const QMap<QString, Snapshot> &after) {
    QStringList changes;
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (!after.contains(it.key()))
            changes << QStringLiteral("removed ") + it.key();
        else if (!(after.value(it.key()) == it.value()))
            changes << QStringLiteral("changed ") + it.key();
    }
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        if (!before.contains(it.key()))
            changes << QStringLiteral("added ") + it.key();
    }
    return changes.join(QStringLiteral(", "));
}

FileSizeLimit::FileSizeLimit(qint64 bytes) {
    if (bytes == None)
        return;
    if (::getrlimit(RLIMIT_FSIZE, &old_) != 0)
        throw std::runtime_error("getrlimit failed");
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lowered = old_;
    lowered.rlim_cur = rlim_t(bytes);
    if (::setrlimit(RLIMIT_FSIZE, &lowered) != 0)
        throw std::runtime_error("setrlimit failed");
    active_ = true;
}

FileSizeLimit::~FileSizeLimit() {
    if (!active_)
        return;
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
}

FifoRelease::FifoRelease(const QString &path, int ms) {
    const QByteArray name = QFile::encodeName(path);
    thread_ = std::thread([this, name, ms] {
        const auto due = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (!stopping_ && std::chrono::steady_clock::now() < due)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        // Succeeds only while a reader waits on the pipe.
        struct stat info {};
        if (::stat(name.constData(), &info) != 0 || !S_ISFIFO(info.st_mode))
            return;
        const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) {
            released_ = true;
            ::close(fd);
        }
    });
}

FifoRelease::~FifoRelease() {
    stopping_ = true;
    if (thread_.joinable())
        thread_.join();
}

bool FifoRelease::released() {
    stopping_ = true;
    if (thread_.joinable())
        thread_.join();
    return released_;
}

Replacer::Replacer(const QString &path, std::vector<QByteArray> versions)
    : path_(path), versions_(std::move(versions)) {
    // Staged in a folder of its own beside the file: the rename stays on one file system and
    // the staged files never show among the files next to it.
    staging_ = QFileInfo(path).absoluteDir().filePath(QStringLiteral(".replacer"));
    QDir().mkpath(staging_);
    thread_ = std::thread([this] { run(); });
}

Replacer::~Replacer() {
    stop();
}

void Replacer::request() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        ++requested_;
    }
    changed_.notify_all();
}

bool Replacer::settle(int timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [this] { return done_ == requested_; });
}

int Replacer::stop() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
    QDir(staging_).removeRecursively();
    return replaced_;
}

void Replacer::run() {
    const QByteArray target = QFile::encodeName(path_);
    const QByteArray staged = QFile::encodeName(QDir(staging_).filePath(QStringLiteral("next")));
    for (std::size_t n = 0;; ++n) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [this] { return stopping_ || done_ < requested_; });
            if (stopping_)
                return;
        }
        if (FILE *file = std::fopen(staged.constData(), "wb")) {
            const QByteArray &bytes = versions_[n % versions_.size()];
            std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), file);
            std::fclose(file);
            if (std::rename(staged.constData(), target.constData()) == 0)
                ++replaced_;
        }
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            ++done_;
        }
        changed_.notify_all();
    }
}

} // namespace BadFileKit
