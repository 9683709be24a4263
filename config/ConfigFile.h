#pragma once

#include "config/ConfigError.h"

#include <QString>
#include <QStringList>

#include <expected>

// Item access to a sectioned configuration file stored as a protected file.
// Every call normalises the file name, opens the file, works through its
// lines from the top and closes it again; nothing is kept between calls and
// nothing is shown to the user. Texts are compared and stored as GBK bytes.

// The value of key in section, untrimmed; defaultValue when the file holds
// no such item or the value is blank. Why, when the file cannot be opened:
// value_or(defaultValue) gives the default then too.
std::expected<QString, ConfigError> readConfigItem(const QString &fileName, const QString &password,
                                                   const QString &section, const QString &key,
                                                   const QString &defaultValue = {});

// Writes the item, creating the file or the section when missing.
// InvalidItem, without touching the file, when the name, section, key or
// value is blank or the section, key or value holds a line break; why, when
// the file cannot be opened or saved.
std::expected<void, ConfigError> writeConfigItem(const QString &fileName, const QString &password,
                                                 const QString &section, const QString &key, const QString &value);

// The section names in file order, duplicates and empty names included;
// why, when the file cannot be opened.
std::expected<QStringList, ConfigError> listConfigSections(const QString &fileName, const QString &password);
