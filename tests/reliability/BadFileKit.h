#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <sys/resource.h>
#include <thread>
#include <vector>

// Makes files that are bad in the ways a disk allows, and tells whether files changed.
namespace BadFileKit {

// A file in place of the one the tool reads.
enum class Bad {
    Truncated,  // cut off in the middle of a line
    Binary,     // bytes that are no text, NUL included
    Huge,       // 100 MB (sparse)
    Unreadable, // no read permission; for root, who reads anything, a folder
    Empty,
    Fifo, // a named pipe nobody writes to
};
// Where a save goes wrong.
enum class Target {
    UnderRegularFile,  // the folder of the path is a regular file
    Folder,            // a folder stands where the file should be written
    FullDisk,          // an earlier file, and no room for more bytes than it has
    HugeEarlier,       // an earlier file of 100 MB that no save may read in
    UnreadableEarlier, // an earlier file without read permission (not for root)
};

QString key(Bad bad);
QString key(Target target);

// Deterministic bytes that are no text: NUL, control and high bytes, no "[" or "=".
QByteArray binaryBytes(int size);
void write(const QString &path, const QByteArray &bytes);
QByteArray read(const QString &path);
void make(Bad bad, const QString &path);

// Creates the situation for `target` in `dir` and returns the path to save to.
QString prepareTarget(Target target, const QString &dir);
// Creates the situation for `target` at a given path (an earlier file there is replaced).
void prepareTargetAt(Target target, const QString &path);

// What a file (or folder) is, enough to tell whether anything touched it.
struct Snapshot {
    bool exists = false;
    bool isDir = false;
    qint64 size = 0;
    QByteArray digest; // of the contents; large files by their first and last MiB
    int permissions = 0;
    bool operator==(const Snapshot &other) const;
};
Snapshot snapshot(const QString &path);
// Every file and folder below `dir`, by relative path.
QMap<QString, Snapshot> snapshotTree(const QString &dir);
QString describeChange(const QMap<QString, Snapshot> &before, const QMap<QString, Snapshot> &after);

// Lowers RLIMIT_FSIZE, with SIGXFSZ ignored, so a write beyond `bytes` fails like a full disk.
class FileSizeLimit {
public:
    static constexpr qint64 None = -1;
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    bool active_ = false;
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

// Opens the write end of a named pipe after `ms`, which releases a reader blocked on it: a
// load that blocks is then noticed instead of hanging the test.
class FifoRelease {
public:
    FifoRelease(const QString &path, int ms);
    ~FifoRelease();
    FifoRelease(const FifoRelease &) = delete;
    FifoRelease &operator=(const FifoRelease &) = delete;
    // True when a reader had to be released.
    bool released();

private:
    std::atomic<bool> stopping_{false};
    std::atomic<bool> released_{false};
    std::thread thread_;
};

// Another program that replaces a file (write beside it, rename over it), once per request(),
// on a thread of its own: the replacement falls at a moment the caller does not choose, so it
// may land inside whatever the caller does next, and the caller still knows how many were done.
class Replacer {
public:
    Replacer(const QString &path, std::vector<QByteArray> versions);
    ~Replacer();
    Replacer(const Replacer &) = delete;
    Replacer &operator=(const Replacer &) = delete;
    // Lets the thread replace the file once more, at once; returns without waiting for it.
    void request();
    // Waits until every requested replacement has been done (or failed); false when the thread
    // did not get to them within `timeoutMs`, a bound for a machine that stalls, not a pace.
    bool settle(int timeoutMs);
    // Stops and returns how often the file was replaced.
    int stop();
    int replaced() const { return replaced_; }

private:
    void run();

    QString path_;
    QString staging_;
    std::vector<QByteArray> versions_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int requested_ = 0; // guarded by mutex_, as are done_ and stopping_
    int done_ = 0;
    bool stopping_ = false;
    std::atomic<int> replaced_{0};
    std::thread thread_;
};

} // namespace BadFileKit
