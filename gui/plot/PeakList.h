// The peak list of the Output box: local maxima of the plotted spectrum at positive frequencies,
// each shown with its neighbours, then the peak frequencies ordered by amplitude.
#pragma once

#include <QString>
#include <vector>

namespace tessivar {

// x and y hold the plotted (divided) values, point i at index i - 1; xDivisor turns x back into
// true frequencies. Returns the Output-box text to append (every line starts with CR LF). As a
// side effect the peaks are gathered at the front of x and y, largest amplitude first, as the
// plot state keeps them. At most 50 peaks are listed, the first ones in frequency order.
QString ListPeaks(std::vector<float>& x, std::vector<float>& y, double xDivisor);

}  // namespace tessivar
