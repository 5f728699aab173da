#pragma once

#include "base/Errors.h"
#include "report/CommissioningReport.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

class ConsoleSession;
class CtlOutput;
class SettingsModel;
struct ParamDef;

// One zelctl command line, parsed.
struct CtlRequest {
    QString command;               // "read", "write", "diff", ...
    QStringList arguments;         // what follows the command
    QList<QByteArray> commandLine; // the program's arguments as given, argv[0] included
    QString output;                // -o FILE; "-" for standard output (report)
    bool verify = false;
    bool json = false;
    bool csv = false;
    double intervalSeconds = 1.0;
    int count = 0; // watch: 0 runs until stopped
    // report: the settings of a file instead of the device's, the seconds of a live-value
    // check (0: none), the person's fields, and whether an existing file is replaced.
    QString from;
    int checkSeconds = 0;
    ReportFields fields;
    bool force = false;
    // ports: ask every port whether a device answers on it.
    bool probe = false;
    // teach and bench-check: the measuring range, the groups, the factory state first, the
    // operator's prompts answered, and the instruments' bus for this run.
    QString range;
    QString groups;
    bool factory = false;
    bool yes = false;
    QString bus;
};

// A command line that does not say something zelctl can do.
class ECtlUsage : public EZelError {
public:
    using EZelError::EZelError;
};

// The commands of zelctl on the device core. Results go to `out` (text or JSON); the caller
// prints failures. Exit codes: 0 done, 1 the device refused something (diff: the settings
// differ), 2 link failure or abort, 3 usage or file error.
class CtlCommands {
public:
    enum ExitCode { kDone = 0, kRefused = 1, kLinkFailure = 2, kUsage = 3 };
    // watch --interval, in seconds: from a hundredth to a day.
    static constexpr double kMinInterval = 0.01;
    static constexpr double kMaxInterval = 86400;

    CtlCommands(ConsoleSession &session, CtlOutput &out);

    // Runs the command; failures are thrown (see exitCodeOf).
    int run(const CtlRequest &request);
    static int exitCodeOf(const std::exception &error);

private:
    int ports(const CtlRequest &request);
    int read(const CtlRequest &request);
    int write(const CtlRequest &request);
    int diff(const CtlRequest &request);
    int get(const CtlRequest &request);
    int set(const CtlRequest &request);
    int factory(const CtlRequest &request);
    int zeroOrReset(const CtlRequest &request);
    int watch(const CtlRequest &request);
    void watchLines(const CtlRequest &request);
    int teachValues(const CtlRequest &request);
    int report(const CtlRequest &request);

    // Loads all settings from the device into `model` as the window does.
    void loadAll(SettingsModel &model);
    void printSettings(const SettingsModel &model, const std::vector<const ParamDef *> &rows,
                       const CtlRequest &request);
    int reportDifferences(const QJsonArray &differences, const CtlRequest &request,
                          const QString &leftName, const QString &rightName);
    void printJson(const QJsonObject &object);
    static const ParamDef &settingNamed(const QString &name);
    static void needArguments(const CtlRequest &request, int minimum, int maximum);
    // Refuses, before the device is asked anything, a settings file that a save could not
    // merge into: a special file, a folder, a file that is no text.
    static void checkSettingsTarget(const CtlRequest &request);

    ConsoleSession &session_;
    CtlOutput &out_;
};
