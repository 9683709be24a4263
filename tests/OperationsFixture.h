#pragma once

#include "TestProgram.h"
#include "mainwindow/MainWindow.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

class CheckBoxList;
class QPushButton;
class ScriptedResponder;

// Pictures "0001".."n", each a small PNG of its own colour.
std::vector<PictureStore::NewRecord> pictures(int count);

// A program with its main window open on a library, and a folder for the
// files the user picks.
class Operations : public ::testing::Test
{
protected:
    void open(std::vector<PictureStore::NewRecord> records);
    // A file of these bytes in the folder of picked files.
    QString pick(const QString &fileName, const QByteArray &bytes);
    void click(QPushButton *button);
    // Record n as stored.
    PictureStore::NewRecord stored(int n);
    int count();
    bool unchanged(int n);
    CheckBoxList &list();
    ScriptedResponder &responder();

    TestProgram program;
    QTemporaryDir files;
    std::optional<MainWindow> window;
    std::vector<PictureStore::NewRecord> original;
};
