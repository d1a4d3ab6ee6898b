#include "app/app.h"
#include "app/posix_stdio.h"

int main() {
    guardStandardStreams();  // before SDL opens its first file or connection
    return runApp();
}
