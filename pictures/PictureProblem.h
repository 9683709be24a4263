#pragma once

// Why a picture is not shown.
enum class PictureProblem { None, Damaged, TooLarge, TooComplex, NotAPicture, Unreadable };
