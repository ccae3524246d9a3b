/* The one place that states the program's version, its copyright and its
   licence, for the version record and for the command-line front end. */
#pragma once

#define KELBRIN_VERSION_NUMBERS 1, 1, 0, 2
#define KELBRIN_FILE_VERSION_TEXT "1.1.0.2"
#define KELBRIN_PRODUCT_VERSION_TEXT "1.1.0"

/* In ASCII, so that every console shows it as it is. */
#define KELBRIN_COPYRIGHT_TEXT "Copyright (C) 2026 Vantor Software"
#define KELBRIN_LICENCE_NAME "MIT License"
#define KELBRIN_LICENCE_ADDRESS "https://opensource.org/license/mit"

/* What --version prints below the version, as GNU tools do. */
#define KELBRIN_VERSION_NOTICE                                            \
  KELBRIN_COPYRIGHT_TEXT "\n"                                             \
  "License: " KELBRIN_LICENCE_NAME " <" KELBRIN_LICENCE_ADDRESS ">.\n"    \
  "This is free software: you are free to change and redistribute it.\n" \
  "There is NO WARRANTY, to the extent permitted by law."
