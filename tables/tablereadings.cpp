// tablereadings: every reading of both methods' printed tables, held to the
// bounds their first page states: every tenth of a minute from 0°01' to 90°
// read forward and its value read back, and every hundredth of a value up to
// that of 0°01' read back. Prints the worst errors; exits 1 if any reading
// strays past a bound.

#include <cstdio>

#include "tables/readingerrors.h"
#include "tables/tablebook.h"

int main() {
    bool within = true;
    for (const reduction::Method method : {reduction::Method::Q, reduction::Method::QQ}) {
        tables::ReadingCheck check(method);
        for (int tenths = tables::tenthsPerMinute; tenths <= tables::lastTenths; ++tenths)
            check.readBothWays(tenths);
        const long long top = check.entries()[tables::tenthsPerMinute].value * 100;
        for (long long hundredths = 0; hundredths <= top; ++hundredths)
            check.readBack(double(hundredths) / 100);
        const tables::ReadingErrors& errors = check.errors();
        std::printf("%s table\n%s", tables::methodName(method).c_str(),
                    tables::errorsText(errors).c_str());
        within = within && errors.forward <= 0.5 && errors.backward <= 0.1 &&
                 errors.steepAngle <= 0.1 && errors.unread == 0;
    }
    std::puts(within ? "every reading within its bound" : "A READING STRAYS PAST ITS BOUND");
    return within ? 0 : 1;
}
