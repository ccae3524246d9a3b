/* The one place that states the program's version, for the version record
   and for the command-line front end. */
#pragma once

#define KELBRIN_VERSION_NUMBERS 1, 1, 0, 2
#define KELBRIN_FILE_VERSION_TEXT "1.1.0.2"
#define KELBRIN_PRODUCT_VERSION_TEXT "1.1.0"
