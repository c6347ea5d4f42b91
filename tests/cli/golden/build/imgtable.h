int img_table_page000[5][4] = {
	{   32,   32,   16,   16}, 
	{    0,   32,   24,   24}, 
	{   32,   48,   16,   16}, 
	{    0,    0,   48,   32}, 
	{   24,   32,    8,   24}, 
};
const int(*img_axis_index[1])[4] = {
	(const int(*)[4])img_table_page000, 
};
