#include "fuzz/FuzzTargets.h"

#include "fuzz/FuzzInput.h"

#include <QDir>
#include <QTemporaryDir>

namespace zelfuzz {

const std::vector<Target> &targets() {
    static const std::vector<Target> all = {
        {"reply_conversions", replyConversions},
        {"inifile", iniFile},
        {"config_files", configFiles},
        {"chart", chart},
        {"exchange", exchange},
        {"device_model", deviceModel},
        {"telnet", telnet},
    };
    return all;
}

const QString &scratchDir() {
    static const QTemporaryDir dir(
        QDir(QDir("/dev/shm").exists() ? "/dev/shm" : QDir::tempPath()).filePath("zelfuzz-XXXXXX"));
    static const QString path = dir.path();
    if (path.isEmpty())
        throw CheckFailed("no scratch folder");
    return path;
}

} // namespace zelfuzz
