#pragma once

namespace VornaLumeto {

// What differs between the revisions of the format once a configuration has
// been split into lines: the order of day and month, and how the ASCII data
// mark a value that is missing. A year the reader does not know follows the
// latest revision before it; its lines are read by their field counts anyway.
struct RevisionRules {
    bool monthFirst = false;            // 1991: mm/dd/yy; later: dd/mm/yyyy
    bool missingAsciiIsEmpty = false;   // 2013: an empty field
    double missingAsciiValue = 0.0;     // 1991: 999999; 1999: 99999
};

inline RevisionRules revisionRules(int revisionYear)
{
    if (revisionYear < 1999)
        return {true, false, 999999.0};
    if (revisionYear < 2013)
        return {false, false, 99999.0};
    return {false, true, 0.0};
}

} // namespace VornaLumeto
