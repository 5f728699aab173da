#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// The fuzz targets as plain functions, so libFuzzer (clang) and the regression test (gcc)
// run the same code path on the same input. Each one throws zelfuzz::CheckFailed on a broken
// invariant and lets every unexpected exception escape.
namespace zelfuzz {

using TargetFunction = void (*)(const QByteArray &data);

struct Target {
    const char *name; // also the folder of its corpus and regression inputs
    TargetFunction run;
};

void replyConversions(const QByteArray &data);
void iniFile(const QByteArray &data);
void configFiles(const QByteArray &data);
void chart(const QByteArray &data);
void exchange(const QByteArray &data);
void deviceModel(const QByteArray &data);
void telnet(const QByteArray &data);

const std::vector<Target> &targets();

// A private folder for the file targets, removed at exit; on tmpfs where there is one.
const QString &scratchDir();

} // namespace zelfuzz
