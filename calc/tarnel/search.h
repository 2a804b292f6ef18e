#pragma once

// Tarnel's calculation as a library, in one header:
//   texts -> readSearchParams -> SearchParams -> searchDividers -> ResultList and RunSummary
//   -> views (the window's list model, the command line's writers), and dividerDetails for one line.
// Nothing here knows Qt; every call is reentrant and keeps no state between calls.

#include "request/divider_details.h"
#include "request/input_fields.h"
#include "request/run_summary.h"
#include "request/search_input.h"
#include "request/search_params.h"
#include "search/divider_search.h"
#include "search/result_list.h"
#include "text/number_text.h"
#include "values/stock_file.h"
#include "values/value_set.h"
