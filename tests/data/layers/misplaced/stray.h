#pragma once

// A folder the layer order does not name.
