#pragma once

#include <QString>
#include <QStringList>

// The few values that several windows share for the whole run. The entry
// owns the one record; it comes into being empty and releases everything it
// holds when its owner goes, on every way out of the program.
struct GlobalState
{
    GlobalState();
    ~GlobalState();
    GlobalState(const GlobalState &) = delete;
    GlobalState &operator=(const GlobalState &) = delete;

    // The record of this run; exactly one exists while windows are open.
    static GlobalState &current();

    QString ConfigFilePath;
    QStringList UserNameList;
    QStringList UserDigestList;
    QString CurrentUserName;
    QString CurrentUserDigest;
    quint8 LoginFailureCount = 0;

private:
    GlobalState *m_previous = nullptr;
};
