#include "store/StoreError.h"

StoreError StoreError::causing(StoreReason outer, const QString &file) const
{
    return StoreError{.reason = outer, .detail = file, .cause = std::make_shared<const StoreError>(*this)};
}

LibraryProblem StoreError::problem() const
{
    switch (reason) {
    case StoreReason::Busy:
        return LibraryProblem::Busy;
    case StoreReason::NewerBuild:
        return LibraryProblem::NewerBuild;
    case StoreReason::Damaged:
    case StoreReason::NotAFile:
    case StoreReason::NotALibraryFile:
    case StoreReason::ForeignFile:
    case StoreReason::WalFile:
    case StoreReason::NoTables:
    case StoreReason::OnlySetAside:
    case StoreReason::MissingCompanion:
    case StoreReason::NotAPair:
    case StoreReason::SealBroken:
        return LibraryProblem::Damaged;
    case StoreReason::Unreadable:
    case StoreReason::Unopenable:
        return cause ? cause->problem() : LibraryProblem::Unavailable;
    default:
        return LibraryProblem::Unavailable;
    }
}
