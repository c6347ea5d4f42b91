int img_table_page000[5][4] = {
	{    0,    0,   16,   16}, 
	{   16,    0,   24,   24}, 
	{   40,    0,   16,   16}, 
	{   56,    0,   48,   32}, 
	{  104,    0,    8,   24}, 
};
const int(*img_axis_index[1])[4] = {
	(const int(*)[4])img_table_page000, 
};
