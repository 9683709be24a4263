#pragma once

#include "config/ConfigError.h"
#include "store/StoreError.h"

#include <QString>

#include <expected>
#include <type_traits>
#include <utility>

// The sentence a window shows for a failure of the store or of a file, in
// Chinese; it names what the failure names, and its cause where it has one.
QString reasonSentence(const StoreError &error);
QString reasonSentence(const ConfigError &error);

// The result with its error as that sentence: what transform_error would do,
// which the standard library of Debian 12 does not have yet.
template<typename T, typename Error>
std::expected<T, QString> withReasonSentence(std::expected<T, Error> result)
{
    if (!result)
        return std::unexpected(reasonSentence(result.error()));
    if constexpr (std::is_void_v<T>)
        return {};
    else
        return std::move(*result);
}
